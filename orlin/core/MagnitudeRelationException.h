#pragma once

#include "common/exception/RuntimeException.h"

#include <locale>
#include <sstream>
#include <string>

namespace common::exception {

// Thrown when two magnitudes stand in a relation that the caller cannot accept, above all when a
// nearest-point look-up is ambiguous (a second candidate lies too close to the nearest one).
//
// The message reads "Unexpected magnitude relation (<relation>): <first>, <second>", the two
// values written with a stream's default formatting (six significant digits) in the classic
// locale, so the text never depends on the user's number format. The values may be of any two
// streamable types. Thrown and caught by value; copyable.
class MagnitudeRelationException : public RuntimeException
{
public:
    template <typename First, typename Second>
    MagnitudeRelationException(std::string relation, const First& first, const Second& second)
        : RuntimeException(buildMessage(relation, first, second))
    {
    }

    MagnitudeRelationException(const MagnitudeRelationException& other);
    MagnitudeRelationException& operator=(const MagnitudeRelationException& other);
    ~MagnitudeRelationException() override;

private:
    template <typename First, typename Second>
    static std::string buildMessage(const std::string& relation, const First& first,
                                    const Second& second)
    {
        std::ostringstream text;
        text.imbue(std::locale::classic());
        text << "Unexpected magnitude relation (" << relation << "): " << first << ", " << second;
        return text.str();
    }
};

} // namespace common::exception
