#include "orlin/io/TextTinExporter.h"

#include "common/io/SafeFileWriter.h"
#include "orlin/core/Point.h"
#include "orlin/core/Triangle.h"

#include <locale>

namespace tin::io {

void TextTinExporter::exportTin(const char* path, tin::core::Tin const& tin) const {
    exportTin(path, tin, COORDINATES);
}

void TextTinExporter::exportTin(const char* path, tin::core::Tin const& tin, Mode mode) const {
    m_mode = mode;
    common::io::SafeFileWriter::writeAscii(path, [&](std::ostream& stream) {
        stream.imbue(std::locale::classic());
        stream.precision(m_precision);
        int k = 0;
        for (const auto& triangle : tin.allTriangles()) {
            stream << "Triangle " << ++k << '\n';
            for (int i = 0; i < 3; ++i) {
                const tin::core::Point& p = *triangle->point(i);
                if (mode == COORDINATES) {
                    stream << "  " << p.x() << ',' << p.y() << ',' << p.elevation() << '\n';
                } else if (mode == IDS) {
                    stream << "  " << p.id() << '\n';
                }
            }
        }
    });
}

} // namespace tin::io
