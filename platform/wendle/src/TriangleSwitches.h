#ifndef TRIANGLECUI_TRIANGLESWITCHES_H
#define TRIANGLECUI_TRIANGLESWITCHES_H

#include <string>

namespace trianglecui {

// The switches of one triangulation run, parsed from a switch string such as "epjzQYa10".
// Numbers follow their letter as a run of digits and dots ("q33.5", "a0.25"). parse throws
// TriangleProcessError naming the offending character or number.
class TriangleSwitches
{
public:
    static TriangleSwitches parse(std::string const& text);

    bool segmentsConstrain = false;   // p
    bool dropUnusedVertices = false;  // j
    bool zeroBased = false;           // z
    bool edgeList = false;            // e
    bool noSegmentSplitting = false;  // Y
    bool quality = false;             // q
    double minimumAngle = 0.0;        // degrees, as given (the clamp is the mesher's business)
    bool areaBound = false;           // a
    double maximumArea = 0.0;
};

} // namespace trianglecui

#endif
