#pragma once

#include <QByteArray>
#include <QString>

class QTextCodec;

namespace tinshp {

// Text of attribute tables: the codec lookup and the conversions the readers, the writers and the
// import wizard share.
//
// Attribute tables hold 8-bit text in an encoding the file does not reliably state; the caller
// names the codec (Qt's names, "UTF-8", "Shift_JIS", ...) and these helpers do the rest. Codecs
// are Qt's process-wide objects: nothing here owns one.
class ShpText
{
public:
    // The codec of that name; throws common::exception::RuntimeException naming it when Qt knows
    // no codec by that name.
    static QTextCodec* codec(const QString& name);

    // A null text reads as the empty string.
    static QString decode(QTextCodec* codec, const char* text);

    // The longest prefix of value, cut between characters, whose encoding takes at most maxBytes
    // bytes. Each prefix is encoded afresh, so stateful encodings end their escapes properly.
    static QByteArray encode(QTextCodec* codec, const QString& value, int maxBytes);
};

} // namespace tinshp
