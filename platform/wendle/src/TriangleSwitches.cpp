#include "TriangleSwitches.h"

#include "trianglecui/TriangleProcessError.h"

#include <charconv>
#include <cmath>

namespace trianglecui {

namespace {

constexpr double DEFAULT_MINIMUM_ANGLE = 20.0;

bool isNumberCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == '.';
}

// Reads the number starting at pos (if any) and advances pos past it. Returns false when no
// number follows.
bool readNumber(std::string const& text, std::size_t& pos, char letter, double& value)
{
    std::size_t end = pos;
    while (end < text.size() && isNumberCharacter(text[end]))
        ++end;
    if (end == pos)
        return false;
    char const* first = text.data() + pos;
    char const* last = text.data() + end;
    auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        throw TriangleProcessError("Invalid number \"" + std::string(first, last)
                                   + "\" after switch '" + letter + "' in \"" + text + "\"");
    pos = end;
    return true;
}

} // namespace

TriangleSwitches TriangleSwitches::parse(std::string const& text)
{
    TriangleSwitches switches;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char const letter = text[pos++];
        switch (letter) {
        case 'p': switches.segmentsConstrain = true; break;
        case 'j': switches.dropUnusedVertices = true; break;
        case 'z': switches.zeroBased = true; break;
        case 'e': switches.edgeList = true; break;
        case 'Y': switches.noSegmentSplitting = true; break;
        case 'Q': break;
        case 'q': {
            switches.quality = true;
            double angle = DEFAULT_MINIMUM_ANGLE;
            readNumber(text, pos, letter, angle);
            switches.minimumAngle = angle;
            break;
        }
        case 'a': {
            double area = 0.0;
            if (!readNumber(text, pos, letter, area))
                throw TriangleProcessError("Switch 'a' needs a maximum area in \"" + text + "\"");
            if (!(area > 0.0))
                throw TriangleProcessError("Maximum area must be positive in \"" + text + "\"");
            switches.areaBound = true;
            switches.maximumArea = area;
            break;
        }
        default:
            throw TriangleProcessError(std::string("Unsupported switch '") + letter + "' in \""
                                       + text + "\"");
        }
    }
    return switches;
}

} // namespace trianglecui
