#pragma once

// Lets GoogleTest print Qt strings readably in failure messages (include it in a test file
// that compares QString or QStringList values).
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '{';
    for (int i = 0; i < list.size(); ++i) {
        *out << (i == 0 ? "" : ", ");
        PrintTo(list[i], out);
    }
    *out << '}';
}
