#pragma once

#include "common/io/SafeFileWriter.h"
#include "orlin/io/PointContainerExporter.h"

#include <locale>
#include <string>

namespace tin::io {

/// Writer of the point text file: one line per point, "x,y,elevation" and '\n', numbers
/// with `precision` significant digits in the stream's default notation (exponent form
/// only for very large or small magnitudes), independent of the process locale. No
/// header, no ids. Ranges are of std::shared_ptr<tin::core::Point>, written in range
/// order.
class TpoPointContainerExporter : public PointContainerExporter {
public:
    explicit TpoPointContainerExporter(int precision) : m_precision(precision) {}

    int precision() const { return m_precision; }

    /// Writes a whole file through common::io::SafeFileWriter: a failure (FileOpenException
    /// or RuntimeException naming the path) leaves the file that was there untouched.
    template <typename Iterator>
    void exportPoints(const char* path, Iterator first, Iterator last) const;

private:
    int m_precision;
};

template <typename Iterator>
void TpoPointContainerExporter::exportPoints(const char* path, Iterator first, Iterator last) const {
    common::io::SafeFileWriter::writeAscii(path, [&](std::ostream& stream) {
        stream.imbue(std::locale::classic());
        stream.precision(m_precision);
        for (; first != last; ++first) {
            const auto& point = *first;
            stream << point->x() << ',' << point->y() << ',' << point->elevation() << '\n';
        }
    });
}

} // namespace tin::io
