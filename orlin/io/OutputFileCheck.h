#pragma once

#include <fstream>
#include <string>

namespace tin::io {

/// Closing of a file that a writer has written completely.
///
/// A stream that failed while writing or closing (a full disk, a vanished device) must
/// not look like a successful save: close() closes the stream, and when any write or the
/// close failed it removes the partial file and throws
/// common::exception::RuntimeException naming the path.
class OutputFileCheck {
public:
    static void close(std::ofstream& stream, const std::string& path);
};

} // namespace tin::io
