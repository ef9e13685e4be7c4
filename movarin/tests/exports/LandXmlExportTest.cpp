// The LandXML export as the user runs it (Export > LandXML, the dialog, the boxes), its file
// checked by the schema and by check_landxml.py against the saved project, and what a failed
// write leaves behind.
#include "ExportsTestSupport.h"

#include "geodata/GeoDataTestSupport.h"
#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"

#include "movarin/sections/CrossSectionItem.h"
#include "movarin/sections/GeoDataGroupItem.h"
#include "movarin/shell/EditModeMainWindowModelRootItem.h"

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

#include <cmath>
#include <functional>
#include <limits>

namespace varnel::test {
namespace {

const QString SCHEMA = QStringLiteral(MOVARIN_SHARED_DATA_DIR "/landxml/LandXML-1.2.xsd");

class LandXmlExportTest : public ExportsTest {
protected:
    /// Export > LandXML, the file chosen through the dialog's browse button, the dialog's
    /// other fields as `fill` leaves them, then OK.
    void exportTo(const QString& file, const std::function<void(QWidget*)>& fill = {})
    {
        ModalAnswerer answerer([&](QWidget* dialog) {
            m_script.answerFile(file);
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            if (fill) {
                fill(dialog);
            }
            QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        });
        exportAction(QStringLiteral("LandXML"))->trigger();
        EXPECT_TRUE(answerer.answered());
    }

    /// Exports to `name`, saves the project and hands both to the checker with the schema
    /// and the texts the file must carry (`--setting` arguments).
    void exportAndCheck(const QString& name, const std::function<void(QWidget*)>& fill = {},
                        const QStringList& settings = {})
    {
        m_script.clearRecords();
        exportTo(scratch(name), fill);
        const auto boxes = m_script.messageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Information");
        EXPECT_EQ(boxes[0].text, QStringLiteral("LandXML successfully exported to %1.")
                                     .arg(QDir::toNativeSeparators(scratch(name))));
        QStringList arguments{scratch(name), saveProject(), QStringLiteral("--schema"), SCHEMA};
        for (const QString& setting : settings) {
            arguments << QStringLiteral("--setting") << setting;
        }
        const CheckerRun run = runChecker(QStringLiteral("check_landxml.py"), arguments);
        EXPECT_EQ(run.exitCode, 0) << name.toStdString() << '\n' << run.output.toStdString();
        EXPECT_TRUE(run.output.endsWith(QLatin1String("OK"))) << run.output.toStdString();
    }
};

// The cases grow one project: no sections or banks; an empty base TIN with a section whose
// lengthened cut misses the TINs and a bank of one vertex; both TINs, two sections across them
// (one starting off the edited TIN) and both banks, the right one along TIN edges and leaving
// the TIN.
TEST_F(LandXmlExportTest, EveryStageOfAProjectGivesAValidFileTrueToItsTins)
{
    const Plane ground{10.0, 0.02, 0.01};
    const Plane designed{8.0, -0.015, 0.03};
    const tin::core::Tin base = planeTin(ground);
    const tin::core::Tin edited = planeTin(designed);
    setTins(&base, &edited);
    exportAndCheck(QStringLiteral("bare.xml"));
    EXPECT_EQ(readXmlFile(scratch(QStringLiteral("bare.xml"))).childNames(),
              (QStringList{"Project", "Application", "CoordinateSystem", "Units", "Surfaces"}));

    setTins(nullptr, &edited);
    addSection(QStringLiteral("far"), QPointF(300.0, 300.0), QPointF(310.0, 320.0));
    GeoDataGroupItem* reference = geoGroup("referenceinformation");
    attachPolyline(reference, QStringLiteral("1"), {{40.0, 40.0}});
    exportAndCheck(QStringLiteral("sparse.xml"));

    setTins(&base, &edited);
    addSection(QStringLiteral("No.1"), QPointF(20.0, 10.0), QPointF(30.0, 90.0));
    addSection(QStringLiteral("No.2"), QPointF(-15.0, 45.0), QPointF(75.0, 55.5));
    attachPolyline(reference, QStringLiteral("1"), {{5.0, 5.0}, {12.5, 50.0}, {7.0, 95.0}});
    // The right bank runs along TIN edges first (no crossing to find there), then leaves.
    attachPolyline(reference, QStringLiteral("4"),
                   {{90.0, 5.0}, {90.0, 40.0}, {95.0, 50.0}, {120.0, 95.0}});
    // The dialog's texts land where they belong: a name, a typed horizontal datum, the last
    // listed vertical one with its offset.
    exportAndCheck(
        QStringLiteral("full.xml"),
        [](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("projectNameEdit")->setText(QStringLiteral("鬼怒川 改修"));
            dialog->findChild<QRadioButton*>("horizontalTextButton")->click();
            dialog->findChild<QLineEdit*>("horizontalDatumEdit")->setText(QStringLiteral("ITRF94"));
            dialog->findChild<QComboBox*>("verticalDatumList")->setCurrentIndex(8);
            dialog->findChild<QLineEdit*>("coordinateSystemEdit")->setText(QStringLiteral("9(X,Y)"));
        },
        {QStringLiteral("projectName=鬼怒川 改修"), QStringLiteral("horizontalDatum=ITRF94"),
         QStringLiteral("verticalDatum=B.S.L"),
         QStringLiteral("horizontalCoordinateSystemName=9(X,Y)"),
         QStringLiteral("differTp=+84.371")});
}

// A text the file would carry, from the dialog or a section's name, holding a control
// character: a warning naming it, and no file.
TEST_F(LandXmlExportTest, AControlCharacterInAnyTextIsRefusedAndNothingIsWritten)
{
    const tin::core::Tin tin = planeTin(Plane{1.0, 0.0, 0.0});
    setTins(&tin, &tin);
    CrossSectionItem* section =
        addSection(QStringLiteral("No.1"), QPointF(20.0, 10.0), QPointF(30.0, 90.0));
    const QString target = scratch(QStringLiteral("river.xml"));
    const auto refused = [&](const QString& text, const std::function<void(QWidget*)>& fill) {
        m_script.clearRecords();
        exportTo(target, fill);
        const auto boxes = m_script.messageBoxes();
        ASSERT_EQ(boxes.size(), 1u) << text.toStdString();
        EXPECT_EQ(boxes[0].title, "Warning");
        EXPECT_EQ(boxes[0].text, QStringLiteral("%1 holds a control character.").arg(text));
        EXPECT_TRUE(QDir(m_dir.path()).isEmpty()) << text.toStdString();
    };
    const auto typed = [](const char* edit, const QString& text) {
        return [=](QWidget* dialog) { dialog->findChild<QLineEdit*>(edit)->setText(text); };
    };
    refused(QStringLiteral("Kinu\u0001"), typed("projectNameEdit", QStringLiteral("Kinu\u0001")));
    refused(QStringLiteral("9(X,\u001fY)"),
            typed("coordinateSystemEdit", QStringLiteral("9(X,\u001fY)")));
    refused(QStringLiteral("+84\t371"), typed("differTpEdit", QStringLiteral("+84\t371")));
    refused(QStringLiteral("T.P\u007f"), [](QWidget* dialog) {
        dialog->findChild<QRadioButton*>("verticalTextButton")->click();
        dialog->findChild<QLineEdit*>("verticalDatumEdit")->setText(QStringLiteral("T.P\u007f"));
    });
    const QString nul = QStringLiteral("No.1") + QChar(0);
    section->setName(nul);
    refused(nul, {});
    section->setName(QStringLiteral("No.1\nleft"));
    refused(QStringLiteral("No.1\nleft"), {});
}

// The L and H of a profile keep 6 significant digits, however small or large: an L of a few
// metres keeps its fourth and fifth decimals and an elevation of a million is written with
// an exponent, not cut to 3 decimals or spelt out. The oracle is the section's own profile:
// each written number has at most 6 significant digits and lies within half a unit of its
// sixth digit of the value it stands for.
TEST_F(LandXmlExportTest, ProfilesKeepSixSignificantDigits)
{
    const tin::core::Tin base = planeTin(Plane{10.0, 0.0123, 0.0077});
    const tin::core::Tin edited = planeTin(Plane{1234567.0, 0.5, 0.25});
    setTins(&base, &edited);
    CrossSectionItem* section =
        addSection(QStringLiteral("No.1"), QPointF(20.123, 10.456), QPointF(31.789, 88.901));
    const QString file = scratch(QStringLiteral("digits.xml"));
    exportTo(file);

    QFile input(file);
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    QDomDocument document;
    ASSERT_TRUE(document.setContent(&input));
    const auto written = [&](const QString& name) {
        const QDomNodeList sects = document.elementsByTagName(QStringLiteral("CrossSect"));
        for (int i = 0; i < sects.count(); ++i) {
            const QDomElement sect = sects.at(i).toElement();
            if (sect.attribute(QStringLiteral("name")) == name) {
                return sect.elementsByTagName(QStringLiteral("PntList2D"))
                    .at(0)
                    .toElement()
                    .text()
                    .split(QLatin1Char(' '), Qt::SkipEmptyParts);
            }
        }
        return QStringList();
    };
    const auto significantDigits = [](QString token) {
        token = token.section(QLatin1Char('e'), 0, 0).remove(QLatin1Char('-'));
        token.remove(QLatin1Char('.'));
        while (token.startsWith(QLatin1Char('0'))) {
            token.remove(0, 1);
        }
        return token.size();
    };
    const auto check = [&](const QString& name, const std::vector<CrossSectionLhTableRow>& rows) {
        const QStringList tokens = written(name);
        ASSERT_EQ(tokens.size(), static_cast<int>(2 * rows.size())) << name.toStdString();
        ASSERT_FALSE(rows.empty()) << name.toStdString();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const double values[2] = {rows[i].L, rows[i].H};
            for (int k = 0; k < 2; ++k) {
                const QString& token = tokens[static_cast<int>(2 * i) + k];
                bool number = false;
                const double read = token.toDouble(&number);
                ASSERT_TRUE(number) << token.toStdString();
                EXPECT_LE(significantDigits(token), 6) << name.toStdString() << ": " << token.toStdString();
                EXPECT_LE(std::abs(read - values[k]), 5e-6 * std::abs(values[k]))
                    << name.toStdString() << " row " << i << ": " << token.toStdString()
                    << " for " << values[k];
            }
        }
    };
    check(QStringLiteral("No.1 original"), section->baseLhTable(true));
    check(QStringLiteral("No.1 designed"), section->currentLhTable(true));
}

// Not by permissions (the tests may run as root): a folder that does not exist, a device that
// takes no byte, and a number that cannot be written half way through the document.
TEST_F(LandXmlExportTest, AFailedWriteSaysSoAndLeavesTheEarlierFile)
{
    const tin::core::Tin tin = planeTin(Plane{1.0, 0.0, 0.0});
    setTins(&tin, &tin);
    addSection(QStringLiteral("No.1"), QPointF(20.0, 10.0), QPointF(30.0, 90.0));
    const QString good = scratch(QStringLiteral("river.xml"));
    exportTo(good);
    const QByteArray earlier = fileBytes(good);
    ASSERT_FALSE(earlier.isEmpty());

    const auto failsWith = [&](const QString& target) {
        m_script.clearRecords();
        exportTo(target);
        const auto boxes = m_script.messageBoxes();
        ASSERT_EQ(boxes.size(), 1u) << target.toStdString();
        EXPECT_EQ(boxes[0].title, "Error");
        EXPECT_EQ(boxes[0].text, "LandXML export failed.");
    };
    failsWith(scratch(QStringLiteral("missing/river.xml")));
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        failsWith(QStringLiteral("/dev/full"));
    }
    addSection(QStringLiteral("broken"), QPointF(0.0, 0.0),
               QPointF(std::numeric_limits<double>::infinity(), 5.0));
    failsWith(good);
    EXPECT_EQ(fileBytes(good), earlier);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("river.xml")});
}

} // namespace
} // namespace varnel::test
