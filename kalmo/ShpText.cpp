#include "kalmo/ShpText.h"

#include "common/exception/RuntimeException.h"

#include <QTextBoundaryFinder>
#include <QTextCodec>

#include <vector>

namespace tinshp {

QTextCodec* ShpText::codec(const QString& name)
{
    QTextCodec* found = QTextCodec::codecForName(name.toLatin1());
    if (!found) {
        throw common::exception::RuntimeException("Unknown text encoding: " +
                                                   name.toStdString());
    }
    return found;
}

QString ShpText::decode(QTextCodec* codec, const char* text)
{
    if (!text) {
        return QString();
    }
    return codec->toUnicode(text);
}

QByteArray ShpText::encode(QTextCodec* codec, const QString& value, int maxBytes)
{
    QByteArray whole = codec->fromUnicode(value);
    if (whole.size() <= maxBytes) {
        return whole;
    }
    // Cut only where a user sees a character end: never inside a surrogate pair or between a
    // letter and its combining marks.
    std::vector<int> ends;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, value);
    for (int at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        ends.push_back(at);
    }
    // Encoded length grows with the prefix: search for the last end that fits.
    QByteArray best;
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        QByteArray encoded = codec->fromUnicode(value.left(ends[mid]));
        if (encoded.size() <= maxBytes) {
            best = std::move(encoded);
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return best;
}

} // namespace tinshp
