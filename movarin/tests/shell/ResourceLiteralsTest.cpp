// Every resource path that the sources of the program and of the libraries it draws its
// pictures from name literally must be compiled into the program: a missing icon shows
// nothing and says nothing. The sources are read as text; comments are left out.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

// The string literals beginning with ":/" in a C++ source, outside comments.
QStringList resourceLiterals(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"),
                                   QRegularExpression::DotMatchesEverythingOption));
    QStringList literals;
    const QRegularExpression literal(QStringLiteral("\"(:/[^\"]*)\""));
    for (QString line : text.split(QLatin1Char('\n'))) {
        // A "//" outside a string starts a comment; resource paths hold no "//".
        const int comment = line.indexOf(QLatin1String("//"));
        if (comment >= 0 && line.left(comment).count(QLatin1Char('"')) % 2 == 0) {
            line.truncate(comment);
        }
        auto matches = literal.globalMatch(line);
        while (matches.hasNext()) {
            literals << matches.next().captured(1);
        }
    }
    return literals;
}

// Paths built at run time and the optional start-page link documents are not literals of
// a resource that must exist.
bool isExempt(const QString& path)
{
    return path.contains(QLatin1String("%1")) || path.startsWith(QLatin1String(":/data/startpagelinks"));
}

TEST(ResourceLiterals, EveryNamedResourceIsCompiledIn)
{
    const QDir root(QStringLiteral(MOVARIN_SOURCE_DIR));
    QStringList checked;
    QStringList missing;
    for (const char* folder : {"platform/hobrin", "brask", "mirvel", "movarin"}) {
        QDirIterator files(root.absoluteFilePath(QLatin1String(folder)),
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString relative = root.relativeFilePath(path);
            if (relative.contains(QLatin1String("/tests/")) || relative.contains(QLatin1String("/tools/"))) {
                continue;
            }
            for (const QString& literal : resourceLiterals(path)) {
                if (isExempt(literal)) {
                    continue;
                }
                checked << literal;
                if (!QFileInfo::exists(literal)) {
                    missing << literal + QStringLiteral(" (") + relative + QLatin1Char(')');
                }
            }
        }
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
    // The scan saw the action manager's icons and the application information.
    EXPECT_TRUE(checked.contains(":/images/iconViewZoomInY.png"));
    EXPECT_TRUE(checked.contains(":/libs/guibase/images/iconColor.png"));
    EXPECT_TRUE(checked.contains(":/data/varnel_info.xml"));
    EXPECT_GT(checked.size(), 40);
}

} // namespace
} // namespace varnel::test
