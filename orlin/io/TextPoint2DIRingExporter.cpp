#include "orlin/io/TextPoint2DIRingExporter.h"

#include "common/io/SafeFileWriter.h"
#include "orlin/core/Point2DI.h"

#include <locale>

namespace tin::io {

void TextPoint2DIRingExporter::exportPoint2DIRing(const char* path, tin::core::Point2DIRing const& ring,
                                                  Mode mode) const {
    m_mode = mode;
    common::io::SafeFileWriter::writeAscii(path, [&](std::ostream& stream) {
        stream.imbue(std::locale::classic());
        stream.precision(m_precision);
        exportRing(&stream, "", ring, -1);
    });
}

void TextPoint2DIRingExporter::exportPoint2DIRings(
    const char* path, std::vector<std::shared_ptr<tin::core::Point2DIRing>> const& rings, Mode mode) const {
    m_mode = mode;
    common::io::SafeFileWriter::writeAscii(path, [&](std::ostream& stream) {
        stream.imbue(std::locale::classic());
        stream.precision(m_precision);
        int index = 0;
        for (const auto& ring : rings) {
            exportRing(&stream, "", *ring, ++index);
        }
    });
}

void TextPoint2DIRingExporter::exportRing(std::ostream* stream, const char* prefix,
                                          tin::core::Point2DIRing const& ring, int index) const {
    std::ostream& out = *stream;
    out << prefix << "Ring: ";
    if (index != -1) {
        out << index;
    }
    out << '\n';
    const auto points = ring.points();
    // The list repeats its first point at the end; an empty list has nothing to leave out.
    const std::size_t distinct = points.empty() ? 0 : points.size() - 1;
    for (std::size_t i = 0; i < distinct; ++i) {
        const tin::core::Point2DI& p = *points[i];
        if (m_mode == COORDINATES) {
            out << prefix << "  " << p.x() << ',' << p.y() << '\n';
        } else if (m_mode == IDS) {
            out << prefix << ' ' << p.id() << '\n';
        }
    }
}

} // namespace tin::io
