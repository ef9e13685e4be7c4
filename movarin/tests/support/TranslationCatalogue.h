#pragma once

// Translations made from the program's own sources as a translator makes them: Qt's lupdate
// extracts every text marked for translation with the context it is marked in, the test
// translates each, and lrelease compiles the result into the ".qm" file the program loads.

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace varnel::test {

/// One text as lupdate found it.
struct CatalogueMessage {
    QString context;
    QString source;
    QString comment; ///< the disambiguation, empty when none
};

/// What lupdate made of some sources.
struct Catalogue {
    std::vector<CatalogueMessage> messages;
    /// Every line lupdate printed besides its progress ("Scanning", "Updating", counts):
    /// texts whose context it could not tell, classes without Q_OBJECT and the like.
    QStringList warnings;

    bool contains(const QString& context, const QString& source, const QString& comment) const;
    QSet<QString> contexts() const;
};

/// Runs lupdate (the one beside the Qt the tests link) on `sources`, files or folders given
/// relative to the source tree, with the include folders the program is built with, into
/// the translation source `tsFile`. Throws `std::runtime_error` when it cannot run.
Catalogue extractCatalogue(const QStringList& sources, const QString& tsFile);

/// Gives every message of `tsFile` the translation `translate` makes of it, finished, and
/// compiles the file with lrelease into `qmFile`. Throws `std::runtime_error` on failure.
void compileTranslation(const QString& tsFile,
                        const std::function<QString(const CatalogueMessage&)>& translate,
                        const QString& qmFile);

} // namespace varnel::test
