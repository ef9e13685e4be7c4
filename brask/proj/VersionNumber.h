#pragma once

#include <QString>

#include <memory>

// glibc's <sys/sysmacros.h> may define these as macros.
#ifdef major
#undef major
#endif
#ifdef minor
#undef minor
#endif

namespace mvc::proj {

/// A version major.minor.fix.build, as recorded in "project.xml" and shown in the About
/// box. The default is 0.0.0.0.
///
/// From text: the parts between dots in order (empty parts kept), each an unsigned decimal;
/// a part that is no number, and a missing part, reads as 0 ("1..3" is 1.0.3.0).
/// `toString` writes major.minor and then fix and build only as far as needed ("1.2",
/// "1.2.3", "1.2.0.7"); `toAboutString` writes "1.2.0 Revision 7" for a build number.
class VersionNumber {
public:
    VersionNumber();
    VersionNumber(unsigned major, unsigned minor, unsigned fix, unsigned build);
    explicit VersionNumber(const QString& text);
    VersionNumber(const VersionNumber& other);
    VersionNumber(VersionNumber&& other) noexcept;
    VersionNumber& operator=(const VersionNumber& other);
    VersionNumber& operator=(VersionNumber&& other) noexcept;
    ~VersionNumber();

    unsigned major() const;
    unsigned minor() const;
    unsigned fix() const;
    unsigned build() const;
    void setMajor(unsigned value);
    void setMinor(unsigned value);
    void setFix(unsigned value);
    void setBuild(unsigned value);

    bool operator==(const VersionNumber& other) const;
    bool operator!=(const VersionNumber& other) const;

    /// Same major number and a minor number at least the other's.
    bool compatibleWith(const VersionNumber& other) const;
    QString toString() const;
    QString toAboutString() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace mvc::proj
