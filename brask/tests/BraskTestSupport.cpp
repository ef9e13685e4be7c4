#include "BraskTestSupport.h"

#include <guimisc/ErrorMessage.h>

#include <QFile>
#include <QString>

#include <QCoreApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

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

// Every test program of the item tree runs with an empty settings store and home folder.
class IsolatedHome : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
        QCoreApplication::setOrganizationName(QStringLiteral("MovarinTests"));
        QCoreApplication::setApplicationName(QStringLiteral("brask_tests"));
    }

private:
    QTemporaryDir m_home;
};

[[maybe_unused]] ::testing::Environment* const isolatedHome =
    ::testing::AddGlobalTestEnvironment(new IsolatedHome);

} // namespace

} // namespace brasktest
