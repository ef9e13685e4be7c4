#include "brask/proj/VersionNumber.h"

#include <QCoreApplication>
#include <QStringList>

namespace mvc::proj {

struct VersionNumber::Impl {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned fix = 0;
    unsigned build = 0;
};

VersionNumber::VersionNumber() : m_impl(std::make_unique<Impl>()) {}

VersionNumber::VersionNumber(unsigned major, unsigned minor, unsigned fix, unsigned build)
    : m_impl(std::make_unique<Impl>(Impl{major, minor, fix, build}))
{
}

VersionNumber::VersionNumber(const QString& text) : VersionNumber()
{
    const QStringList parts = text.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    unsigned* fields[] = {&m_impl->major, &m_impl->minor, &m_impl->fix, &m_impl->build};
    for (int i = 0; i < 4 && i < parts.size(); ++i) {
        bool ok = false;
        const unsigned value = parts[i].toUInt(&ok);
        *fields[i] = ok ? value : 0;
    }
}

VersionNumber::VersionNumber(const VersionNumber& other)
    : m_impl(std::make_unique<Impl>(*other.m_impl))
{
}

VersionNumber::VersionNumber(VersionNumber&& other) noexcept
    : m_impl(std::make_unique<Impl>(*other.m_impl))
{
}

VersionNumber& VersionNumber::operator=(const VersionNumber& other)
{
    *m_impl = *other.m_impl;
    return *this;
}

VersionNumber& VersionNumber::operator=(VersionNumber&& other) noexcept
{
    *m_impl = *other.m_impl;
    return *this;
}

VersionNumber::~VersionNumber() = default;

unsigned VersionNumber::major() const { return m_impl->major; }
unsigned VersionNumber::minor() const { return m_impl->minor; }
unsigned VersionNumber::fix() const { return m_impl->fix; }
unsigned VersionNumber::build() const { return m_impl->build; }
void VersionNumber::setMajor(unsigned value) { m_impl->major = value; }
void VersionNumber::setMinor(unsigned value) { m_impl->minor = value; }
void VersionNumber::setFix(unsigned value) { m_impl->fix = value; }
void VersionNumber::setBuild(unsigned value) { m_impl->build = value; }

bool VersionNumber::operator==(const VersionNumber& other) const
{
    return m_impl->major == other.m_impl->major && m_impl->minor == other.m_impl->minor
           && m_impl->fix == other.m_impl->fix && m_impl->build == other.m_impl->build;
}

bool VersionNumber::operator!=(const VersionNumber& other) const
{
    return !(*this == other);
}

bool VersionNumber::compatibleWith(const VersionNumber& other) const
{
    return m_impl->major == other.m_impl->major && m_impl->minor >= other.m_impl->minor;
}

QString VersionNumber::toString() const
{
    QString text = QStringLiteral("%1.%2").arg(m_impl->major).arg(m_impl->minor);
    if (m_impl->fix != 0 || m_impl->build != 0) {
        text += QStringLiteral(".%1").arg(m_impl->fix);
    }
    if (m_impl->build != 0) {
        text += QStringLiteral(".%1").arg(m_impl->build);
    }
    return text;
}

QString VersionNumber::toAboutString() const
{
    QString text = QStringLiteral("%1.%2").arg(m_impl->major).arg(m_impl->minor);
    if (m_impl->fix != 0 || m_impl->build != 0) {
        text += QStringLiteral(".%1").arg(m_impl->fix);
    }
    if (m_impl->build != 0) {
        text += QCoreApplication::translate("mvc::proj::VersionNumber", " Revision %1")
                    .arg(m_impl->build);
    }
    return text;
}

} // namespace mvc::proj
