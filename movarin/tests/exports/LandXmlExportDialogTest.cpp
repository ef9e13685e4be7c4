// The LandXML export dialog: the datum proposed from the project's coordinate system, the two
// modes of each datum, the texts as they reach the file, and the refused empty file name.
#include "ExportsTestSupport.h"

#include "support/ModalAnswerer.h"

#include "movarin/sections/LandXmlExportDialog.h"
#include "movarin/shell/MainWindow.h"
#include "movarin/shell/Project.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"

#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "proj/ProjectionPair.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace varnel::test {
namespace {

/// A system known by its name only.
class NamedPair : public proj::ProjectionPair {
public:
    explicit NamedPair(const std::string& name) { setName(name); }
    bool forward(double, double, double&, double&) const override { return false; }
    bool inverse(double, double, double&, double&) const override { return false; }
};

/// What the dialog shows of the horizontal datum and the coordinate system.
struct Prefill {
    int index = -1;
    QString code;
    QString system;
};

template <class Widget>
Widget* named(QWidget* dialog, const char* name)
{
    auto widget = dialog->findChild<Widget*>(QLatin1String(name));
    if (!widget) {
        ADD_FAILURE() << "no " << name;
    }
    return widget;
}

Prefill prefillOf(QWidget* dialog)
{
    return {named<QComboBox>(dialog, "horizontalDatumList")->currentIndex(),
            named<QLineEdit>(dialog, "horizontalDatumEdit")->text(),
            named<QLineEdit>(dialog, "coordinateSystemEdit")->text()};
}

void clickRadio(QRadioButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
}

void clickOk(QWidget* dialog)
{
    QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

class LandXmlExportDialogTest : public ExportsTest {
protected:
    ProjectProperty* property() const { return mainWindow().project()->projectFile()->property(); }

    /// What the dialog opened by Export > LandXML proposes; it is then cancelled.
    Prefill prefillThroughTheMenu()
    {
        Prefill prefill;
        ModalAnswerer answerer([&](QWidget* dialog) {
            prefill = prefillOf(dialog);
            QTest::mouseClick(
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                Qt::LeftButton);
        });
        exportAction(QStringLiteral("LandXML"))->trigger();
        EXPECT_TRUE(answerer.answered());
        return prefill;
    }
};

TEST_F(LandXmlExportDialogTest, ThePlaneRectangularSystemOfTheProjectProposesTheDatum)
{
    property()->setProjectionPair(
        mainWindow().projectionPairBuilder()->projectionPair("EPSG:6677"));
    ASSERT_NE(property()->projectionPair(), nullptr);
    Prefill prefill = prefillThroughTheMenu();
    EXPECT_EQ(prefill.index, 1);
    EXPECT_EQ(prefill.code, "JGD2011");
    EXPECT_EQ(prefill.system, "9(X,Y)");

    // None, and a name the catalogue lacks (kept as text by the property, no pair).
    property()->setProjectionPair(nullptr);
    prefill = prefillThroughTheMenu();
    EXPECT_EQ(prefill.index, 0);
    EXPECT_EQ(prefill.code, "JGD2000");
    EXPECT_EQ(prefill.system, "");
    QDomDocument document;
    ASSERT_TRUE(document.setContent(QStringLiteral("<Property CSR=\"EPSG:99999\"/>")));
    property()->loadFromProjectMainFile(document.documentElement());
    ASSERT_EQ(property()->projectionPairName(), "EPSG:99999");
    prefill = prefillThroughTheMenu();
    EXPECT_EQ(prefill.index, 0);
    EXPECT_EQ(prefill.system, "");

    // The ends of the three ranges of 19 zones, and their neighbours outside.
    struct Case {
        const char* name;
        int index;
        const char* system;
    };
    for (const Case& c :
         {Case{"EPSG:2443", 0, "1(X,Y)"}, Case{"EPSG:2461", 0, "19(X,Y)"},
          Case{"EPSG:6669", 1, "1(X,Y)"}, Case{"EPSG:6687", 1, "19(X,Y)"},
          Case{"EPSG:30161", 2, "1(X,Y)"}, Case{"EPSG:30179", 2, "19(X,Y)"},
          Case{"EPSG:2442", 0, ""}, Case{"EPSG:2462", 0, ""}, Case{"EPSG:6688", 0, ""},
          Case{"EPSG:30180", 0, ""}, Case{"EPSG:", 0, ""}}) {
        LandXmlExportDialog dialog;
        const NamedPair pair(c.name);
        dialog.setProjectionPair(&pair);
        prefill = prefillOf(&dialog);
        EXPECT_EQ(prefill.index, c.index) << c.name;
        EXPECT_EQ(prefill.system, c.system) << c.name;
    }
}

TEST_F(LandXmlExportDialogTest, EachDatumIsPickedFromItsListOrTyped)
{
    LandXmlExportDialog dialog;
    dialog.show();
    auto verticalList = named<QComboBox>(&dialog, "verticalDatumList");
    auto verticalEdit = named<QLineEdit>(&dialog, "verticalDatumEdit");
    auto differTp = named<QLineEdit>(&dialog, "differTpEdit");
    auto horizontalEdit = named<QLineEdit>(&dialog, "horizontalDatumEdit");
    EXPECT_EQ(horizontalEdit->text(), "JGD2000");
    EXPECT_EQ(verticalEdit->text(), "T.P");
    EXPECT_EQ(differTp->text(), "");
    EXPECT_FALSE(horizontalEdit->isEnabled());
    EXPECT_FALSE(verticalEdit->isEnabled());

    verticalList->setFocus();
    QTest::keyClick(verticalList, Qt::Key_End);
    EXPECT_EQ(verticalList->currentIndex(), 8);
    EXPECT_EQ(verticalEdit->text(), "B.S.L");
    EXPECT_EQ(differTp->text(), "+84.371");

    clickRadio(named<QRadioButton>(&dialog, "verticalTextButton"));
    EXPECT_FALSE(verticalList->isEnabled());
    EXPECT_TRUE(verticalEdit->isEnabled());
    EXPECT_EQ(verticalEdit->text(), "B.S.L");
    EXPECT_EQ(differTp->text(), "");

    clickRadio(named<QRadioButton>(&dialog, "verticalListButton"));
    EXPECT_EQ(differTp->text(), "+84.371");
    QTest::keyClick(verticalList, Qt::Key_Up);
    QTest::keyClick(verticalList, Qt::Key_Up);
    EXPECT_EQ(verticalEdit->text(), "A.P");
    EXPECT_EQ(differTp->text(), "-0.8333");

    // Typing the horizontal datum keeps the listed code to start from.
    clickRadio(named<QRadioButton>(&dialog, "horizontalTextButton"));
    EXPECT_FALSE(named<QComboBox>(&dialog, "horizontalDatumList")->isEnabled());
    EXPECT_EQ(horizontalEdit->text(), "JGD2000");
}

TEST_F(LandXmlExportDialogTest, TheFileStatesTheTextsWithoutSurroundingBlanks)
{
    const QString file = scratch(QStringLiteral("blanks.xml"));
    ModalAnswerer answerer([&](QWidget* dialog) {
        typeInto(named<QWidget>(dialog, "filenameWidget")->findChild<QLineEdit*>(),
                 QStringLiteral("  ") + file + QStringLiteral(" "));
        typeInto(named<QLineEdit>(dialog, "projectNameEdit"), QStringLiteral("  Upper reach  "));
        clickRadio(named<QRadioButton>(dialog, "horizontalTextButton"));
        typeInto(named<QLineEdit>(dialog, "horizontalDatumEdit"), QStringLiteral(" Tokyo "));
        clickRadio(named<QRadioButton>(dialog, "verticalTextButton"));
        typeInto(named<QLineEdit>(dialog, "verticalDatumEdit"), QStringLiteral("\tlocal datum  "));
        typeInto(named<QLineEdit>(dialog, "coordinateSystemEdit"), QStringLiteral(" 9(X,Y) "));
        typeInto(named<QLineEdit>(dialog, "differTpEdit"), QStringLiteral("  +1.25 "));
        clickOk(dialog);
    });
    exportAction(QStringLiteral("LandXML"))->trigger();
    ASSERT_TRUE(answerer.answered());

    const XmlElement landXml = readXmlFile(file);
    EXPECT_EQ(landXml.child("Project").attributes.value("name"), "Upper reach");
    const XmlElement& system = landXml.child("CoordinateSystem");
    EXPECT_EQ(system.attributes.value("horizontalDatum"), "Tokyo");
    EXPECT_EQ(system.attributes.value("verticalDatum"), "local datum");
    EXPECT_EQ(system.attributes.value("horizontalCoordinateSystemName"), "9(X,Y)");
    EXPECT_EQ(system.child("Feature").child("Property").attributes.value("value"), "+1.25");
}

TEST_F(LandXmlExportDialogTest, AnEmptyFileNameIsRefusedAndTheDialogStays)
{
    ModalAnswerer answerer([](QWidget* dialog) { clickOk(dialog); }, 20);
    exportAction(QStringLiteral("LandXML"))->trigger();
    EXPECT_TRUE(answerer.leftOpen());
    const auto boxes = m_script.messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Warning");
    EXPECT_EQ(boxes[0].text, "Output file is not specified.");
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
}

} // namespace
} // namespace varnel::test
