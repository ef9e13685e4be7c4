#include "guimisc/QUndoCommandSupport.h"

#include <QHash>

#include <mutex>

namespace guimisc {

int QUndoCommandSupport::generateCommandId(const QString& name)
{
    static std::mutex mutex;
    static QHash<QString, int> ids;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = ids.constFind(name);
    if (found != ids.constEnd()) {
        return found.value();
    }
    // Counting from 1 keeps clear of -1 and of 0, which a command may return by mistake.
    const int id = ids.size() + 1;
    ids.insert(name, id);
    return id;
}

} // namespace guimisc
