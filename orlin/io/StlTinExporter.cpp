#include "orlin/io/StlTinExporter.h"

#include "common/io/ByteOrder.h"
#include "common/exception/RuntimeException.h"
#include "common/io/IoUtil.h"
#include "common/io/SafeFileWriter.h"
#include "orlin/core/Triangle.h"
#include "orlin/io/StlFacet.h"

#include <Poco/BinaryWriter.h>

#include <climits>
#include <cstring>
#include <locale>

namespace tin::io {

namespace {

constexpr int FACET_SIZE = 50;

} // namespace

void StlTinExporter::exportTin(const char* path, tin::core::Tin const& tin) const {
    if (m_type == STL_ASCII) {
        exportAscii(path, tin);
    } else {
        exportBinary(path, tin);
    }
}

void StlTinExporter::exportAscii(const char* path, tin::core::Tin const& tin) const {
    common::io::SafeFileWriter::writeAscii(path, [&](std::ostream& stream) {
        stream.imbue(std::locale::classic());
        stream << "solid " << TITLE << '\n';
        stream.precision(10);
        for (const auto& triangle : tin.allTriangles()) {
            const StlFacet facet(*triangle);
            stream << "facet normal " << facet.normal[0] << ' ' << facet.normal[1] << ' ' << facet.normal[2] << '\n'
                   << "outer loop\n";
            for (const auto& v : facet.vertex) {
                stream << "vertex " << v[0] << ' ' << v[1] << ' ' << v[2] << '\n';
            }
            stream << "endloop\nendfacet\n";
        }
        stream << "endsolid " << TITLE << '\n';
    });
}

void StlTinExporter::exportBinary(const char* path, tin::core::Tin const& tin) const {
    const auto& triangles = tin.allTriangles();
    if (triangles.size() > UINT_MAX) {
        throw common::exception::RuntimeException("TIN too large for binary STL");
    }
    common::io::SafeFileWriter::writeBinary(path, [&](std::ostream& stream) {
        Poco::BinaryWriter writer(stream, common::io::FILE_BYTE_ORDER);
        common::io::IoUtil::writeWithSize(writer, TITLE, 80);
        writer << static_cast<unsigned int>(triangles.size());
        // Facets are staged in a buffer, their floats in the machine's order, which is
        // common::io::FILE_BYTE_ORDER.
        constexpr int CHUNK = 1024;
        char buffer[CHUNK * FACET_SIZE];
        int used = 0;
        for (const auto& triangle : triangles) {
            const StlFacet facet(*triangle);
            float values[12];
            for (int i = 0; i < 3; ++i) {
                values[i] = static_cast<float>(facet.normal[i]);
                for (int k = 0; k < 3; ++k) {
                    values[3 + 3 * i + k] = static_cast<float>(facet.vertex[i][k]);
                }
            }
            char* record = buffer + used * FACET_SIZE;
            std::memcpy(record, values, sizeof values);
            record[48] = record[49] = '\0';
            if (++used == CHUNK) {
                writer.writeRaw(buffer, used * FACET_SIZE);
                used = 0;
            }
        }
        if (used > 0) {
            writer.writeRaw(buffer, used * FACET_SIZE);
        }
        writer.flush();
    });
}

} // namespace tin::io
