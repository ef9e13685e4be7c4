#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace common::io {

/// Saving a file so that a failed save never costs the user the file that was there.
///
/// write*() hands the body a stream on a new file beside the target (same folder, a hidden
/// name that ends in ".tmp") and renames that file over the target only once the body has
/// returned and the stream was flushed and closed without error. On any failure the target
/// keeps its bytes, the temporary file is removed and the exception names the target as the
/// caller gave it:
///  - common::exception::FileOpenException when the file cannot be made (no such folder, a
///    directory in the way);
///  - common::exception::RuntimeException "Could not write file: <path>" when a write, the
///    close or the rename fails;
///  - whatever the body throws, unchanged.
/// A symbolic link is followed: the file it leads to is replaced and the link stays. A
/// target that exists and is not a regular file (a device, a pipe) is never removed or
/// renamed over: it is written in place, and a failure there throws as above.
/// A replaced file keeps its permission bits. The body writes in the stream's own locale and
/// must flush any writer it puts in front of the stream.
///
/// writeBinarySet() replaces several files as one, for formats whose files are read
/// together: every member is written completely beside its target before the first target
/// is touched, and a failure at any point, while writing or while putting the files in
/// place, leaves every target as it was (a target that did not exist does not either). Until
/// all members are in place each replaced target's earlier bytes stay under a second, hidden
/// name beside it (a hard link where the file system has them), which is dropped at the end.
/// The exceptions are those of writeBinary() and name the member that failed. A member that
/// is written in place (a device, a pipe) is written after all others are complete and before
/// any is put in place; it cannot be taken back.
///
/// placeSet() does the same for files a writer of its own has already finished (a library
/// that writes to paths, not streams): each is renamed to a hidden name beside its target, or
/// copied there from another file system, and the set is then put in place as by
/// writeBinarySet(), with its exceptions. The finished files are gone afterwards whatever
/// happens, except one that is its own target, which is refused and kept.
class SafeFileWriter {
public:
    using Body = std::function<void(std::ostream&)>;

    /// One file of a set: its path and what it holds.
    struct Member {
        std::string path;
        Body body;
    };

    /// A complete file and the target it is to replace.
    struct Finished {
        std::string file;
        std::string path;
    };

    /// No line-end translation.
    static void writeBinary(const std::string& path, const Body& body);
    /// As writeBinary(), except that a target that is already a regular file (its links
    /// followed) of exactly the bytes the body writes is left as it is, its times as well:
    /// the body writes into memory, and the target is read back and compared, which costs
    /// far less than making a file. For the files a project saves again and again, most of
    /// them unchanged. Cost: the bytes held in memory once more, and one read of the target
    /// when its size is theirs.
    static void writeBinaryIfChanged(const std::string& path, const Body& body);
    /// The same for bytes at hand.
    static void writeBinaryIfChanged(const std::string& path, const std::string& bytes);
    /// Text mode (the same bytes on POSIX systems).
    static void writeAscii(const std::string& path, const Body& body);
    /// All members or none, in binary mode. O(total bytes); two renames and a link per member.
    static void writeBinarySet(const std::vector<Member>& members);
    /// All files in place or none. Renames and a link per file; O(bytes) only for a copy.
    static void placeSet(const std::vector<Finished>& files);

private:
    static void write(const std::string& path, std::ios::openmode mode, const Body& body);
};

} // namespace common::io
