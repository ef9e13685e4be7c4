#ifndef TRIANGLE_TRIANGLEIO_H
#define TRIANGLE_TRIANGLEIO_H

// The result record of a triangulation run, laid out field for field like the C result record of
// the classic mesh generator, so callers written against that interface read it unchanged.
//
// Ownership: every non-null array was allocated with malloc by the run and belongs to the record's
// holder, who releases each non-null pointer with triangle_free (holelist is always null). Fields
// the run does not produce are null pointers and zero counts. Coordinates are x, y pairs; index
// lists hold int vertex indices (0-based with switch z, 1-based otherwise).
struct triangleio_t
{
    double* pointlist;
    double* pointattributelist;
    int* pointmarkerlist;
    int numberofpoints;
    int numberofpointattributes;

    int* trianglelist;
    double* triangleattributelist;
    double* trianglearealist;
    int* neighborlist;
    int numberoftriangles;
    int numberofcorners;
    int numberoftriangleattributes;

    int* segmentlist;
    int* segmentmarkerlist;
    int numberofsegments;

    double* holelist;
    int numberofholes;

    double* regionlist;
    int numberofregions;

    int* edgelist;
    int* edgemarkerlist;
    int numberofedges;
};

// Releases one array of a triangleio_t; a null pointer is ignored.
void triangle_free(void* memory);

#endif
