#pragma once

#include "common/io/IoUtil.h"
#include "orlin/io/OutputFileCheck.h"
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

    /// Writes a whole file; throws common::exception::FileOpenException when the path
    /// cannot be opened and common::exception::RuntimeException when writing fails (the
    /// partial file is removed).
    template <typename Iterator>
    void exportPoints(const char* path, Iterator first, Iterator last) const;

private:
    int m_precision;
};

template <typename Iterator>
void TpoPointContainerExporter::exportPoints(const char* path, Iterator first, Iterator last) const {
    std::ofstream stream = common::io::IoUtil::openOutAscii(path);
    stream.imbue(std::locale::classic());
    stream.precision(m_precision);
    for (; first != last; ++first) {
        const auto& point = *first;
        stream << point->x() << ',' << point->y() << ',' << point->elevation() << '\n';
    }
    OutputFileCheck::close(stream, path);
}

} // namespace tin::io
