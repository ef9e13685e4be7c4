#include "BraskTestSupport.h"

#include <guimisc/ErrorMessage.h>

#include <QFile>
#include <QString>

#include <QCoreApplication>

namespace brasktest {

void TestItem::saveExternalData(const std::string& path)
{
    ++saves;
    if (payload.isEmpty()) {
        return; // writes its file only when it holds data
    }
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::WriteOnly) || file.write(payload) != payload.size()) {
        throw guimisc::ErrorMessage(QStringLiteral("Could not write %1").arg(file.fileName()));
    }
}

void TestItem::loadExternalData(const std::string& path)
{
    ++loads;
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (file.open(QIODevice::ReadOnly)) {
        payload = file.readAll();
    }
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList rowTexts(QStandardItem* row)
{
    QStringList texts;
    for (int i = 0; i < row->rowCount(); ++i) {
        texts << row->child(i)->text();
    }
    return texts;
}

QStringList captions(const mvc::core::ModelItem* item)
{
    QStringList texts;
    for (const mvc::core::ModelItem* child : item->childItems()) {
        texts << child->caption();
    }
    return texts;
}

namespace {

// The item tree's settings (the workspace folder) go under names of their own; the test main
// gives every program an empty settings store.
[[maybe_unused]] const bool named = [] {
    QCoreApplication::setOrganizationName(QStringLiteral("MovarinTests"));
    QCoreApplication::setApplicationName(QStringLiteral("brask_tests"));
    return true;
}();

} // namespace

} // namespace brasktest
