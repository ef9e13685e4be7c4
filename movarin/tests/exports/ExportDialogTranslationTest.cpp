// Both export dialogs under a translation made as a translator makes one: lupdate on the
// dialogs' sources, a translation for every text it found, lrelease, and the file installed
// as the program installs its "languages" folder. Every marked text must come out
// translated, in the context the translation files know each dialog by.
#include "ExportsTestSupport.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"
#include "support/TranslationCatalogue.h"

#include "movarin/shell/ApplicationStartup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

namespace varnel::test {
namespace {

const QString OPEN = QStringLiteral("\u00ab");
const QString CLOSE = QStringLiteral("\u00bb");

QString translated(const CatalogueMessage& message)
{
    return OPEN + message.source + CLOSE;
}

/// The translations the program installs from a folder, taken out again at the end.
class InstalledTranslation {
public:
    explicit InstalledTranslation(const QString& folder)
    {
        QCoreApplication& application = *QCoreApplication::instance();
        const QList<QTranslator*> before = application.findChildren<QTranslator*>();
        ApplicationStartup::installTranslations(application, folder, QStringLiteral("ja_JP"));
        for (QTranslator* translator : application.findChildren<QTranslator*>()) {
            if (!before.contains(translator)) {
                m_translators << translator;
            }
        }
    }
    ~InstalledTranslation()
    {
        for (QTranslator* translator : m_translators) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    InstalledTranslation(const InstalledTranslation&) = delete;
    InstalledTranslation& operator=(const InstalledTranslation&) = delete;

    int count() const { return m_translators.size(); }

private:
    QList<QTranslator*> m_translators;
};

/// The texts a dialog shows that are the program's own: its title, its labels, the entries
/// of the lists named (the other lists hold numbers and proper names).
QStringList ownTexts(QWidget* dialog, const QStringList& translatedLists)
{
    QStringList texts{dialog->windowTitle()};
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            texts << label->text();
        }
    }
    for (const QString& name : translatedLists) {
        const QComboBox* list = dialog->findChild<QComboBox*>(name);
        for (int i = 0; list && i < list->count(); ++i) {
            texts << list->itemText(i);
        }
    }
    return texts;
}

class ExportDialogTranslationTest : public ExportsTest {
protected:
    /// Opens the dialog of the Export menu's `action`, hands it to `act`, then cancels it.
    void withDialog(const QString& action, const std::function<void(QWidget*)>& act)
    {
        ModalAnswerer answerer([&](QWidget* dialog) {
            act(dialog);
            QTest::mouseClick(
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                Qt::LeftButton);
        });
        exportAction(action)->trigger();
        EXPECT_TRUE(answerer.answered()) << action.toStdString();
    }
};

TEST_F(ExportDialogTranslationTest, EveryMarkedTextOfBothDialogsComesOutTranslated)
{
    const QString ts = scratch(QStringLiteral("movarin_ja_JP.ts"));
    const Catalogue catalogue = extractCatalogue(
        {QStringLiteral("movarin/sections/ZindralExportDialog.h"),
         QStringLiteral("movarin/sections/ZindralExportDialog.cpp"),
         QStringLiteral("movarin/sections/LandXmlExportDialog.h"),
         QStringLiteral("movarin/sections/LandXmlExportDialog.cpp")},
        ts);
    EXPECT_TRUE(catalogue.warnings.isEmpty()) << catalogue.warnings.join('\n').toStdString();
    QStringList contexts = catalogue.contexts().values();
    contexts.sort();
    EXPECT_EQ(contexts, (QStringList{QStringLiteral("LandXmlExportDialog"),
                                     QStringLiteral("ZindralExportDialog")}));
    // The six coordinate systems, five labels and the title; the three horizontal datums, six
    // labels, the title, the file filter and the warning's title and text.
    ASSERT_EQ(catalogue.messages.size(), 12u + 13u);
    const QString languages = scratch(QStringLiteral("languages"));
    compileTranslation(ts, translated, languages + QStringLiteral("/movarin_ja_JP.qm"));
    const InstalledTranslation installed(languages);
    ASSERT_EQ(installed.count(), 1);

    QStringList shown;
    withDialog(QStringLiteral("Zindral Grid data"), [&](QWidget* dialog) {
        shown << ownTexts(dialog, {QStringLiteral("coordinateSystemList")});
    });
    m_script.clearRecords();
    withDialog(QStringLiteral("LandXML"), [&](QWidget* dialog) {
        shown << ownTexts(dialog, {QStringLiteral("horizontalDatumList")});
        // The filter of the file dialog, and the warning of OK without a file.
        m_script.answerCancel();
        QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    // The file dialog's caption is the file chooser's own; its filter is the dialog's.
    for (const guimisc::UserDialogScript::Record& record : m_script.records()) {
        shown << record.filter;
    }
    for (const guimisc::UserDialogScript::Record& record : m_script.messageBoxes()) {
        shown << record.title << record.text;
    }

    for (const CatalogueMessage& message : catalogue.messages) {
        EXPECT_TRUE(shown.contains(translated(message)))
            << message.context.toStdString() << ": \"" << message.source.toStdString()
            << "\" is not shown translated";
    }
    for (const QString& text : shown) {
        if (!text.isEmpty()) {
            EXPECT_TRUE(text.startsWith(OPEN) && text.endsWith(CLOSE))
                << "\"" << text.toStdString() << "\" is shown untranslated";
        }
    }
}

} // namespace
} // namespace varnel::test
