#include "orlin/util/TriangleRecord.h"

#include <cstring>

namespace tin {
namespace util {

namespace {

template <typename T>
void freeArray(T*& array)
{
    if (array) {
        triangle_free(array);
        array = nullptr;
    }
}

} // namespace

TriangleRecord::TriangleRecord()
{
    std::memset(&m_record, 0, sizeof m_record);
}

TriangleRecord::~TriangleRecord()
{
    release();
}

void TriangleRecord::releasePoints()
{
    freeArray(m_record.pointlist);
    m_record.numberofpoints = 0;
}

void TriangleRecord::release()
{
    freeArray(m_record.pointlist);
    freeArray(m_record.pointattributelist);
    freeArray(m_record.pointmarkerlist);
    freeArray(m_record.trianglelist);
    freeArray(m_record.triangleattributelist);
    freeArray(m_record.trianglearealist);
    freeArray(m_record.neighborlist);
    freeArray(m_record.segmentlist);
    freeArray(m_record.segmentmarkerlist);
    freeArray(m_record.holelist);
    freeArray(m_record.regionlist);
    freeArray(m_record.edgelist);
    freeArray(m_record.edgemarkerlist);
    std::memset(&m_record, 0, sizeof m_record);
}

} // namespace util
} // namespace tin
