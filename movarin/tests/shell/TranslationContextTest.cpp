// Every text of the program is one a translation made with Qt's lupdate can reach: lupdate
// must tell the context of every text it finds (the class that shows it, with its namespace,
// as tr() gives it, or the fixed name of a form such as "StartPageDialog"), and every text the
// program looks up while its windows, menus, controllers and dialogs are built must be one
// lupdate found in that same context. A text marked in one context and looked up in another
// would stay in English whatever the translation says.
#include "support/ScratchSettings.h"

#include "support/TranslationCatalogue.h"

#include "brask/core/Model.h"
#include "brask/core/ModelItem.h"
#include "brask/core/ModelItemController.h"
#include "brask/core/ModelRootItem.h"
#include "movarin/sections/CalculateSoilVolumeDialog.h"
#include "movarin/sections/DrawAuxiliaryDialog.h"
#include "movarin/sections/LandXmlExportDialog.h"
#include "movarin/sections/ZindralExportDialog.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/MainWindowAboutDialog.h"
#include "movarin/shell/MouseHelpDialog.h"
#include "movarin/shell/PreferenceDialog.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectModelWindow.h"
#include "movarin/shell/ProjectPropertyEditDialog.h"
#include "movarin/shell/StartPageDialog.h"

#include "mirvel/EllipseToPlaneProjectionPairSelectDialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <tuple>

namespace varnel::test {
namespace {

/// The program's sources: the libraries with widgets, the program, the helper layer.
const QStringList PROGRAM{QStringLiteral("brask"),           QStringLiteral("mirvel"),
                          QStringLiteral("pelkas"),          QStringLiteral("kalmo"),
                          QStringLiteral("movarin/shell"),   QStringLiteral("movarin/survey"),
                          QStringLiteral("movarin/surfaces"), QStringLiteral("movarin/sections"),
                          QStringLiteral("movarin/main.cpp"), QStringLiteral("platform/hobrin")};

/// The forms whose texts are translated under a name of their own, without namespace.
const QSet<QString> FORM_CONTEXTS{
    QStringLiteral("StartPageDialog"), QStringLiteral("ZindralExportDialog"),
    QStringLiteral("LandXmlExportDialog"),
    QStringLiteral("EllipseToPlaneProjectionPairSelectDialog")};

using Lookup = std::tuple<QString, QString, QString>; // context, source, disambiguation

/// Notes every text looked up while it lives and translates none.
class RecordingTranslator : public QTranslator {
public:
    RecordingTranslator() { QCoreApplication::installTranslator(this); }
    ~RecordingTranslator() override { QCoreApplication::removeTranslator(this); }

    QString translate(const char* context, const char* source, const char* disambiguation,
                      int) const override
    {
        m_lookups.emplace(QString::fromUtf8(context), QString::fromUtf8(source),
                          QString::fromUtf8(disambiguation));
        return QString();
    }
    bool isEmpty() const override { return false; }

    /// The program's lookups: Qt's own classes ("QDialogButtonBox", "QShortcut") left out.
    std::set<Lookup> programLookups() const
    {
        std::set<Lookup> own;
        for (const Lookup& lookup : m_lookups) {
            const QString& context = std::get<0>(lookup);
            const bool qt = context.size() > 1 && context[0] == QLatin1Char('Q')
                            && context[1].isUpper() && !context.contains(QLatin1String("::"));
            if (!qt) {
                own.insert(lookup);
            }
        }
        return own;
    }

private:
    mutable std::set<Lookup> m_lookups;
};

/// Builds the controller of every item below `item`, its right-click menu, its tool-bar
/// buttons and its property dialog, where it has them.
void buildControllers(mvc::core::ModelItem* item, QWidget* parent)
{
    if (mvc::core::ModelItemController* controller = item->controller()) {
        controller->rightClickMenu();
        QToolBar toolBar;
        controller->addToolBarButtons(&toolBar);
        QMenu menu;
        controller->appendAddActionToMenu(&menu);
        std::unique_ptr<QDialog> dialog(controller->propertyDialog(parent));
    }
    for (mvc::core::ModelItem* child : item->childItems()) {
        buildControllers(child, parent);
    }
}

class TranslationContextTest : public ScratchSettingsTest {};

TEST_F(TranslationContextTest, LupdateTellsTheContextOfEveryText)
{
    QTemporaryDir folder;
    const Catalogue catalogue =
        extractCatalogue(PROGRAM, folder.filePath(QStringLiteral("program.ts")));
    EXPECT_TRUE(catalogue.warnings.isEmpty()) << catalogue.warnings.join('\n').toStdString();
    EXPECT_GT(catalogue.messages.size(), 400u);
    for (const QString& context : catalogue.contexts()) {
        EXPECT_TRUE(context.contains(QLatin1String("::")) || FORM_CONTEXTS.contains(context))
            << context.toStdString();
    }
}

TEST_F(TranslationContextTest, EveryTextLookedUpIsOneLupdateFindsInThatContext)
{
    QTemporaryDir folder;
    const Catalogue catalogue =
        extractCatalogue(PROGRAM, folder.filePath(QStringLiteral("program.ts")));
    auto recorder = std::make_unique<RecordingTranslator>();
    ScratchSettings::writeStartupDefaults();
    {
        // The main window with its menus, both kinds of project with every controller, then
        // the dialogs of the menus.
        MainWindow window;
        window.show();
        for (const bool editMode : {false, true}) {
            editMode ? window.newEditProject() : window.newCreateProject();
            auto projectWindow =
                qobject_cast<ProjectModelWindow*>(window.project()->projectWindow());
            ASSERT_TRUE(projectWindow);
            buildControllers(projectWindow->model()->rootItem(), &window);
        }
        for (QMenu* menu : window.findChildren<QMenu*>()) {
            emit menu->aboutToShow();
        }
        StartPageDialog startPage(&window);
        PreferenceDialog preferences(&window);
        MainWindowAboutDialog about(&window);
        MouseHelpDialog mouseHelp(&window);
        ProjectPropertyEditDialog property(&window);
        CalculateSoilVolumeDialog soilVolume(&window);
        DrawAuxiliaryDialog auxiliary(&window);
        ZindralExportDialog grid(&window);
        LandXmlExportDialog landXml(&window);
        guiproj::EllipseToPlaneProjectionPairSelectDialog system(&window);
    }
    const std::set<Lookup> lookups = recorder->programLookups();
    recorder.reset();
    EXPECT_GT(lookups.size(), 200u);
    for (const auto& [context, source, disambiguation] : lookups) {
        EXPECT_TRUE(catalogue.contains(context, source, disambiguation))
            << context.toStdString() << ": \"" << source.toStdString() << "\""
            << (disambiguation.isEmpty() ? std::string()
                                         : " (" + disambiguation.toStdString() + ")")
            << " is looked up but not marked there";
    }
}

} // namespace
} // namespace varnel::test
