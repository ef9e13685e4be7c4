#pragma once

#include "orlin/core/PointSet.h"
#include "orlin/io/PointSetExporter.h"

namespace tin::io {

/// Writer of the point text file (".tpo"): the points of a set, one line
/// "x,y,elevation" each, with `precision` significant digits, independent of the
/// process locale (see TpoPointContainerExporter). The line order is the set's traversal
/// order and is not promised. Ids are not written.
///
/// Throws common::exception::FileOpenException when the path cannot be opened and
/// common::exception::RuntimeException when writing fails, both naming the path; the file is
/// written through common::io::SafeFileWriter, so a failure leaves the earlier file untouched.
class TpoPointSetExporter : public PointSetExporter {
public:
    static constexpr int DEFAULT_PRECISION = 10;

    TpoPointSetExporter() = default;
    explicit TpoPointSetExporter(int precision) : m_precision(precision) {}

    int precision() const { return m_precision; }

    void exportPointSet(const char* path, tin::core::PointSet const& set) const override;

private:
    int m_precision = DEFAULT_PRECISION;
};

} // namespace tin::io
