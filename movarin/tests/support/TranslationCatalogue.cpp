#include "TranslationCatalogue.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <stdexcept>

namespace varnel::test {
namespace {

const QString SOURCE_DIR = QStringLiteral(MOVARIN_SOURCE_DIR);

QString qtTool(const char* name)
{
    return QLibraryInfo::location(QLibraryInfo::BinariesPath) + QLatin1Char('/')
           + QLatin1String(name);
}

/// Runs the tool and gives back what it printed; throws when it fails.
QString run(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        throw std::runtime_error((tool + QStringLiteral(" failed: ") + process.errorString()
                                  + QLatin1Char('\n') + QString::fromUtf8(process.readAll()))
                                     .toStdString());
    }
    return QString::fromUtf8(process.readAll());
}

QDomDocument readTs(const QString& tsFile)
{
    QFile file(tsFile);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        throw std::runtime_error("Cannot read " + tsFile.toStdString());
    }
    return document;
}

/// Calls `visit` with each message element and what it says.
template <typename Visit> void forEachMessage(const QDomDocument& document, Visit visit)
{
    for (QDomElement context = document.documentElement().firstChildElement("context");
         !context.isNull(); context = context.nextSiblingElement("context")) {
        const QString name = context.firstChildElement("name").text();
        for (QDomElement message = context.firstChildElement("message"); !message.isNull();
             message = message.nextSiblingElement("message")) {
            visit(message, CatalogueMessage{name, message.firstChildElement("source").text(),
                                            message.firstChildElement("comment").text()});
        }
    }
}

} // namespace

bool Catalogue::contains(const QString& context, const QString& source,
                         const QString& comment) const
{
    return std::any_of(messages.begin(), messages.end(), [&](const CatalogueMessage& m) {
        return m.context == context && m.source == source && m.comment == comment;
    });
}

QSet<QString> Catalogue::contexts() const
{
    QSet<QString> names;
    for (const CatalogueMessage& message : messages) {
        names.insert(message.context);
    }
    return names;
}

Catalogue extractCatalogue(const QStringList& sources, const QString& tsFile)
{
    QStringList arguments{QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                          QStringLiteral("none"), QStringLiteral("-I"), SOURCE_DIR};
    const QDir platform(SOURCE_DIR + QStringLiteral("/platform"));
    for (const QString& layer : platform.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = platform.filePath(layer + QStringLiteral("/include"));
        if (QDir(folder).exists()) {
            arguments << QStringLiteral("-I") << folder;
        }
    }
    for (const QString& source : sources) {
        arguments << SOURCE_DIR + QLatin1Char('/') + source;
    }
    arguments << QStringLiteral("-ts") << tsFile;
    const QString printed = run(qtTool("lupdate"), arguments);

    Catalogue catalogue;
    static const QRegularExpression progress(
        QStringLiteral("^(Scanning directory |Updating |\\s+Found |\\s+Removed |\\s+Kept )"));
    for (const QString& line : printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (!progress.match(line).hasMatch()) {
            catalogue.warnings << line;
        }
    }
    forEachMessage(readTs(tsFile), [&](const QDomElement&, const CatalogueMessage& message) {
        catalogue.messages.push_back(message);
    });
    return catalogue;
}

void compileTranslation(const QString& tsFile,
                        const std::function<QString(const CatalogueMessage&)>& translate,
                        const QString& qmFile)
{
    QDomDocument document = readTs(tsFile);
    forEachMessage(document, [&](QDomElement message, const CatalogueMessage& found) {
        QDomElement translation = message.firstChildElement("translation");
        translation.removeAttribute("type");
        while (translation.hasChildNodes()) {
            translation.removeChild(translation.firstChild());
        }
        translation.appendChild(document.createTextNode(translate(found)));
    });
    QFile file(tsFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(document.toByteArray()) < 0 || !file.flush()) {
        throw std::runtime_error("Cannot write " + tsFile.toStdString());
    }
    file.close();
    QDir().mkpath(QFileInfo(qmFile).absolutePath());
    run(qtTool("lrelease"), {tsFile, QStringLiteral("-qm"), qmFile});
    if (!QFileInfo(qmFile).isFile()) {
        throw std::runtime_error("lrelease made no " + qmFile.toStdString());
    }
}

} // namespace varnel::test
