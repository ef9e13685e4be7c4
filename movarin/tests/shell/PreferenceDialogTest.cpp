// The preference dialog: what each page accepts, that a failing page writes nothing of any
// page, and what a first start's unshown apply() leaves in the store.
#include "movarin/shell/PreferenceDialog.h"
#include "movarin/shell/SettingsKeys.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include <guimisc/SettingsSupport.h>
#include "guimisc/UserDialogScript.h"
#include "guimisc/widget/DirnameEditWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace varnel::test {
namespace {

const QString rangeInvalid = QStringLiteral("Color Map range is invalid.");
const QString scaleInvalid = QStringLiteral("Z-direction Scale is invalid.");
const QString waterSurfaceInvalid = QStringLiteral("Water Surface is invalid.");
const QString nonAscii = QStringLiteral("Working directory contains non-ASCII characters.");
const QString nextLaunch =
    QStringLiteral("Working directory setting is applied when Movarin is launched next time.");

template <class T>
T* field(const QWidget& dialog, const char* name)
{
    T* found = dialog.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::logic_error(std::string("No field ") + name);
    }
    return found;
}

QStringList messageTexts(const guimisc::UserDialogScript& script)
{
    QStringList texts;
    for (const auto& record : script.messageBoxes()) {
        texts << record.text;
    }
    return texts;
}

QVariant stored(const char* key)
{
    return guimisc::SettingsSupport::value(key);
}

// Sets the default QLocale for the life of the object.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) : m_previous(QLocale()) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

// A store as the start-up leaves it before the first preference dialog.
class PreferenceDialogTest : public ScratchSettingsTest {
protected:
    void SetUp() override { ScratchSettings::writeStartupDefaults(); }

    static void setRange(const PreferenceDialog& dialog, const QString& min, const QString& max)
    {
        field<QLineEdit>(dialog, "minEdit")->setText(min);
        field<QLineEdit>(dialog, "maxEdit")->setText(max);
    }
};

TEST_F(PreferenceDialogTest, ColorMapRangeAndScaleAreChecked)
{
    {
        SCOPED_TRACE("Min above Max");
        PreferenceDialog dialog;
        setRange(dialog, "10", "5");
        const auto before = ScratchSettings::snapshot();
        guimisc::UserDialogScript script;
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        ASSERT_EQ(script.messageBoxes().size(), 1u);
        EXPECT_EQ(script.records()[0].kind, guimisc::UserDialogs::Kind::Critical);
        EXPECT_EQ(script.records()[0].title, "Error");
        EXPECT_EQ(script.records()[0].text, rangeInvalid);
        EXPECT_EQ(ScratchSettings::snapshot(), before);
    }
    {
        SCOPED_TRACE("Min equal to Max");
        PreferenceDialog dialog;
        setRange(dialog, "5", "5");
        guimisc::UserDialogScript script;
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(script.records().empty());
        EXPECT_EQ(stored(settings::graphicsColormapMin).toString(), "5");
        EXPECT_EQ(stored(settings::graphicsColormapMax).toString(), "5");
    }
    // Fields that the validator refuses as a whole; setText goes round it as a pasted or
    // stored value would.
    const struct {
        const char* name;
        const char* text;
        QString message;
    } refused[] = {{"minEdit", "", rangeInvalid},
                   {"maxEdit", "-", rangeInvalid},
                   {"waterSurfaceEdit", "sea level", waterSurfaceInvalid},
                   {"waterSurfaceEdit", "", waterSurfaceInvalid},
                   {"minEdit", "1.234", rangeInvalid},
                   {"scaleEdit", "", scaleInvalid},
                   {"scaleEdit", "x2", scaleInvalid}};
    for (const auto& c : refused) {
        SCOPED_TRACE(std::string(c.name) + " = '" + c.text + "'");
        PreferenceDialog dialog;
        field<QLineEdit>(dialog, c.name)->setText(QString::fromUtf8(c.text));
        const auto before = ScratchSettings::snapshot();
        guimisc::UserDialogScript script;
        EXPECT_FALSE(dialog.apply());
        EXPECT_EQ(messageTexts(script), QStringList{c.message});
        EXPECT_EQ(ScratchSettings::snapshot(), before);
    }
    {
        SCOPED_TRACE("zero and negative scales, exponents");
        PreferenceDialog dialog;
        setRange(dialog, "-1e2", "1E2");
        for (const char* scale : {"0", "-2.5"}) {
            field<QLineEdit>(dialog, "scaleEdit")->setText(scale);
            guimisc::UserDialogScript script;
            EXPECT_TRUE(dialog.apply());
            EXPECT_TRUE(script.records().empty());
            EXPECT_EQ(stored(settings::graphicsZScale).toDouble(), QString(scale).toDouble());
        }
        EXPECT_EQ(stored(settings::graphicsColormapMin).toDouble(), -100.0);
    }
}

TEST_F(PreferenceDialogTest, NumberFieldsTakeNoLettersAndFollowTheCLocale)
{
    // A user whose locale writes decimal commas: the fields still speak C, because every
    // reader of the keys converts in the C locale.
    const DefaultLocale german{QLocale(QLocale::German)};
    PreferenceDialog dialog;
    dialog.show();
    for (const char* name : {"minEdit", "maxEdit", "waterSurfaceEdit", "scaleEdit"}) {
        SCOPED_TRACE(name);
        QLineEdit* edit = field<QLineEdit>(dialog, name);
        edit->clear();
        QTest::keyClicks(edit, "1a2b");
        EXPECT_EQ(edit->text(), "12");
        edit->clear();
        QTest::keyClicks(edit, "1,5");
        EXPECT_NE(edit->text(), "1,5");
        edit->clear();
        QTest::keyClicks(edit, "1.5");
        EXPECT_EQ(edit->text(), "1.5");
    }
    field<QLineEdit>(dialog, "minEdit")->setText("1,5");
    {
        guimisc::UserDialogScript script;
        EXPECT_FALSE(dialog.apply());
        EXPECT_EQ(messageTexts(script), QStringList{rangeInvalid});
    }
    field<QLineEdit>(dialog, "minEdit")->setText("1.5");
    guimisc::UserDialogScript script;
    ASSERT_TRUE(dialog.apply());
    for (const char* key : {settings::graphicsColormapMin, settings::graphicsColormapMax,
                            settings::graphicsColormapWaterSurface, settings::graphicsZScale}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(stored(key).toString(), "1.5");
        EXPECT_EQ(stored(key).toDouble(), 1.5);
    }
}

TEST_F(PreferenceDialogTest, WorkingDirectoryIsCheckedFirstAndWarnsWhenChanged)
{
    const auto before = ScratchSettings::snapshot();
    {
        SCOPED_TRACE("General and Graphics both invalid");
        PreferenceDialog dialog;
        field<guimisc::widget::DirnameEditWidget>(dialog, "workingDirectoryEdit")
            ->setDirname(QString::fromUtf8("/tmp/\u5DE5\u4E8B/work"));
        setRange(dialog, "10", "5");
        guimisc::UserDialogScript script;
        EXPECT_FALSE(dialog.apply());
        EXPECT_EQ(messageTexts(script), QStringList{nonAscii});
        EXPECT_EQ(script.records()[0].title, "Error");
        EXPECT_EQ(ScratchSettings::snapshot(), before);
    }
    {
        SCOPED_TRACE("an empty working directory");
        PreferenceDialog dialog;
        field<guimisc::widget::DirnameEditWidget>(dialog, "workingDirectoryEdit")->setDirname("  ");
        guimisc::UserDialogScript script;
        EXPECT_FALSE(dialog.apply());
        EXPECT_EQ(messageTexts(script), QStringList{"Working directory is not set."});
        EXPECT_EQ(ScratchSettings::snapshot(), before);
    }
    {
        SCOPED_TRACE("a working directory that cannot be made");
        PreferenceDialog dialog;
        field<guimisc::widget::DirnameEditWidget>(dialog, "workingDirectoryEdit")
            ->setDirname("/dev/null/ws");
        guimisc::UserDialogScript script;
        EXPECT_FALSE(dialog.apply());
        EXPECT_EQ(messageTexts(script), QStringList{"Working directory /dev/null/ws cannot be made."});
        EXPECT_EQ(ScratchSettings::snapshot(), before);
    }
    {
        SCOPED_TRACE("only the language changed");
        PreferenceDialog dialog;
        auto combo = field<QComboBox>(dialog, "languageComboBox");
        combo->setCurrentIndex(combo->findData("fr_FR"));
        guimisc::UserDialogScript script;
        EXPECT_TRUE(dialog.apply());
        EXPECT_TRUE(script.records().empty());
        EXPECT_EQ(stored(settings::generalLocale).toString(), "fr_FR");
        EXPECT_EQ(stored(settings::generalWorkspace).toString(), settings::defaultWorkspace());
    }
    {
        SCOPED_TRACE("the working directory changed, to a folder whose parents are missing");
        const QString folder = m_scratch.homePath() + "/not/yet/projects";
        PreferenceDialog dialog;
        field<guimisc::widget::DirnameEditWidget>(dialog, "workingDirectoryEdit")->setDirname(folder);
        guimisc::UserDialogScript script;
        script.answerBy([](const guimisc::UserDialogScript::Record&) {
            // The folder is written after the user has read the warning.
            EXPECT_EQ(stored(settings::generalWorkspace).toString(), settings::defaultWorkspace());
            guimisc::UserDialogScript::Answer answer;
            answer.sort = guimisc::UserDialogScript::Answer::Sort::Button;
            answer.button = QMessageBox::Ok;
            return answer;
        });
        EXPECT_TRUE(dialog.apply());
        ASSERT_EQ(messageTexts(script), QStringList{nextLaunch});
        EXPECT_EQ(script.records()[0].title, "Warning");
        EXPECT_EQ(script.records()[0].kind, guimisc::UserDialogs::Kind::Warning);
        EXPECT_EQ(stored(settings::generalWorkspace).toString(), folder);
        EXPECT_TRUE(QFileInfo(folder).isDir()) << "made when accepted";
    }
}

TEST_F(PreferenceDialogTest, StoredValuesAreShownAndWrittenBack)
{
    guimisc::SettingsSupport::setValue(settings::generalLocale, "ko_KR");
    QSettings().setValue(settings::fontAngleSize, 0);
    {
        PreferenceDialog dialog;
        EXPECT_EQ(field<QComboBox>(dialog, "languageComboBox")->currentData().toString(), "ko_KR");
        EXPECT_EQ(field<QComboBox>(dialog, "languageComboBox")->currentText(), "Korean");
        EXPECT_EQ(field<QSpinBox>(dialog, "angleFontSizeSpinBox")->value(), 1);
        EXPECT_EQ(field<QSpinBox>(dialog, "elevationFontSizeSpinBox")->value(), 18);
        EXPECT_EQ(field<QLineEdit>(dialog, "minEdit")->text(), "-100");
        EXPECT_TRUE(field<QCheckBox>(dialog, "showTinEdgesCheckBox")->isChecked());
        EXPECT_FALSE(field<QCheckBox>(dialog, "developersModeCheckBox")->isChecked());
        guimisc::UserDialogScript script;
        ASSERT_TRUE(dialog.apply());
        EXPECT_EQ(stored(settings::generalLocale).toString(), "ko_KR");
        EXPECT_EQ(stored(settings::fontAngleSize).toInt(), 1);
    }
    guimisc::SettingsSupport::setValue(settings::generalLocale, "de_DE");
    PreferenceDialog dialog;
    EXPECT_EQ(field<QComboBox>(dialog, "languageComboBox")->currentIndex(), 0);
    EXPECT_EQ(field<QComboBox>(dialog, "languageComboBox")->currentText(), "English");
    field<QCheckBox>(dialog, "developersModeCheckBox")->setChecked(true);
    field<QCheckBox>(dialog, "showTinEdgesCheckBox")->setChecked(false);
    guimisc::UserDialogScript script;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(settings::generalLocale).toString(),
              QLocale(QLocale::English, QLocale::AnyCountry).name());
    EXPECT_TRUE(stored(settings::developersMode).toBool());
    EXPECT_FALSE(stored(settings::graphicsShowTinEdges).toBool());
}

TEST_F(PreferenceDialogTest, OkKeepsAnInvalidDialogOpenAndCancelSavesNothing)
{
    const auto before = ScratchSettings::snapshot();
    {
        PreferenceDialog dialog;
        setRange(dialog, "10", "5");
        guimisc::UserDialogScript script;
        // OK answers at once; a few looks later the dialog must still be open.
        ModalAnswerer answerer(
            [](QWidget* modal) {
                auto box = modal->findChild<QDialogButtonBox*>("buttonBox");
                QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
            },
            3);
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_TRUE(answerer.leftOpen());
        EXPECT_EQ(messageTexts(script), QStringList{rangeInvalid});
    }
    PreferenceDialog dialog;
    field<QComboBox>(dialog, "languageComboBox")->setCurrentIndex(3);
    field<QSpinBox>(dialog, "globalFontSizeSpinBox")->setValue(40);
    field<QLineEdit>(dialog, "scaleEdit")->setText("3");
    ModalAnswerer answerer([](QWidget* modal) {
        auto box = modal->findChild<QDialogButtonBox*>("buttonBox");
        QTest::mouseClick(box->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    guimisc::UserDialogScript script;
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(answerer.answered());
    EXPECT_FALSE(answerer.leftOpen());
    EXPECT_TRUE(script.records().empty());
    EXPECT_EQ(ScratchSettings::snapshot(), before);
}

TEST_F(PreferenceDialogTest, FirstStartApplyWritesEveryKeyWithItsType)
{
    guimisc::UserDialogScript script;
    {
        PreferenceDialog dialog;
        ASSERT_TRUE(dialog.apply());
    }
    EXPECT_TRUE(script.records().empty());
    QSettings store;
    store.sync();
    // The INI store keeps text; each value must read back as the type its readers expect.
    const QStringList names = {"en_US", "ja_JP", "ko_KR", "th_TH", "id_ID",
                               "zh_CN", "fr_FR", "es_ES", "ru_RU"};
    EXPECT_TRUE(names.contains(stored(settings::generalLocale).toString()))
        << stored(settings::generalLocale).toString().toStdString();
    EXPECT_EQ(stored(settings::generalWorkspace).toString(),
              m_scratch.homePath() + "/" + settings::workspaceFolderName);
    const std::pair<const char*, double> numbers[] = {
        {settings::graphicsColormapMin, -100.0},
        {settings::graphicsColormapMax, 100.0},
        {settings::graphicsColormapWaterSurface, 0.0},
        {settings::graphicsZScale, 1.0}};
    for (const auto& [key, value] : numbers) {
        bool ok = false;
        EXPECT_EQ(store.value(key).toString().toDouble(&ok), value) << key;
        EXPECT_TRUE(ok) << key;
    }
    const std::pair<const char*, int> sizes[] = {{settings::fontElevationSize, 18},
                                                 {settings::fontDistanceSize, 12},
                                                 {settings::fontAngleSize, 18},
                                                 {settings::fontGlobalSize, 18}};
    for (const auto& [key, value] : sizes) {
        bool ok = false;
        EXPECT_EQ(store.value(key).toString().toInt(&ok), value) << key;
        EXPECT_TRUE(ok) << key;
    }
    EXPECT_EQ(store.value(settings::graphicsShowTinEdges).toString(), "true");
    EXPECT_EQ(store.value(settings::developersMode).toString(), "false");

    // And the file itself holds every key (Qt writes the group "general" as "%General").
    QFile file(m_scratch.settingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const char* key :
         {"locale=", "workspace=", "colormap_min=", "colormap_max=", "colormap_water_surface=",
          "show_tin_edges=", "zscale=", "elevation_fontsize=", "distance_fontsize=",
          "angle_fontsize=", "global_fontsize=", "mode="}) {
        EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^") + key)).size(), 1) << key;
    }
}

TEST_F(PreferenceDialogTest, FirstStartApplyWritesNothingWhenItCannotValidate)
{
    {
        SCOPED_TRACE("a home folder that is not ASCII");
        const QString home = m_scratch.homePath() + QString::fromUtf8("/J\u00F6rg");
        ASSERT_TRUE(QDir().mkpath(home));
        ScratchSettings::setHome(home);
        const auto before = ScratchSettings::snapshot();
        guimisc::UserDialogScript script;
        PreferenceDialog dialog;
        EXPECT_FALSE(dialog.apply());
        EXPECT_EQ(messageTexts(script), QStringList{nonAscii});
        EXPECT_EQ(ScratchSettings::snapshot(), before);
        EXPECT_FALSE(guimisc::SettingsSupport::contains(settings::generalLocale));
        ScratchSettings::setHome(m_scratch.homePath());
    }
    {
        SCOPED_TRACE("a store without the colour-map keys");
        QSettings store;
        store.remove(settings::graphicsColormapMin);
        store.remove(settings::graphicsColormapMax);
        store.remove(settings::graphicsColormapWaterSurface);
        store.sync();
        const auto before = ScratchSettings::snapshot();
        guimisc::UserDialogScript script;
        PreferenceDialog dialog;
        EXPECT_FALSE(dialog.apply());
        EXPECT_EQ(messageTexts(script), QStringList{rangeInvalid});
        EXPECT_EQ(ScratchSettings::snapshot(), before);
    }
}

} // namespace
} // namespace varnel::test
