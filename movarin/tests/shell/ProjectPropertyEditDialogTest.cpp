// The "Project Property" dialog and the two kinds' edit widgets, with the coordinate-system
// selection dialog answered as a user would.
#include "ProjectTestSupport.h"

#include "mirvel/EllipseToPlaneProjectionPairBuilder.h"
#include "mirvel/EllipseToPlaneProjectionPairSelectDialog.h"
#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/shell/ProjectPropertyEditDialog.h"
#include "movarin/shell/ProjectPropertyEditWidget.h"
#include "proj/ProjectionPair.h"

#include "support/ModalAnswerer.h"
#include "support/QtPrinters.h"
#include "support/ScratchSettings.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace varnel::test {
namespace {

const QString notSpecified = QStringLiteral("(Not specified)");

template <class T>
T* part(const QWidget* widget, const char* name)
{
    T* found = widget->findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        throw std::logic_error(std::string("No part ") + name);
    }
    return found;
}

/// What the user does in the selection dialog: types `search`, picks the row that reads
/// `row` (the first row, "(Not Specified)", when empty) and presses OK or Cancel.
std::function<void(QWidget*)> select(const QString& search, const QString& row, bool ok)
{
    return [=](QWidget* widget) {
        auto dialog = qobject_cast<guiproj::EllipseToPlaneProjectionPairSelectDialog*>(widget);
        if (!dialog) {
            return;
        }
        QTest::keyClicks(part<QLineEdit>(dialog, "searchEdit"), search);
        auto list = part<QListWidget>(dialog, "listWidget");
        const QList<QListWidgetItem*> rows =
            row.isEmpty() ? QList<QListWidgetItem*>{list->item(0)}
                          : list->findItems(row, Qt::MatchExactly);
        if (!rows.isEmpty()) {
            list->setCurrentItem(rows.first());
        }
        auto buttons = part<QDialogButtonBox>(dialog, "buttonBox");
        QTest::mouseClick(buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    };
}

class ProjectPropertyEditDialogTest : public ScratchSettingsTest {
protected:
    void SetUp() override
    {
        ScratchSettings::writeStartupDefaults();
        m_session = std::make_unique<ProjectSession>();
        m_session->newCreateProject();
        m_property = m_session->project()->projectFile()->property();
        m_widget.reset(m_property->buildEditWidget());
    }

    proj::ProjectionPair* pair(const char* name) const
    {
        return m_session->mainWindow().projectionPairBuilder()->projectionPair(name);
    }
    static QString caption(const proj::ProjectionPair* pair)
    {
        return QString::fromLatin1(pair->caption().c_str());
    }
    QString label() const { return part<QLabel>(m_widget.get(), "csTextLabel")->text(); }
    bool modified() const { return m_session->project()->projectFile()->isModified(); }
    void clickEdit() const
    {
        QTest::mouseClick(part<QPushButton>(m_widget.get(), "csEditButton"), Qt::LeftButton);
    }

    std::unique_ptr<ProjectSession> m_session;
    ProjectProperty* m_property = nullptr;
    std::unique_ptr<ProjectPropertyEditWidget> m_widget;
};

TEST_F(ProjectPropertyEditDialogTest, DialogAndFormsAreBuiltAsDescribed)
{
    ProjectPropertyEditDialog dialog(&m_session->mainWindow());
    EXPECT_EQ(dialog.windowTitle(), "Project Property");
    EXPECT_EQ(dialog.objectName(), "ProjectPropertyEditDialog");
    EXPECT_EQ(dialog.size(), QSize(508, 138));
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    auto buttons = part<QDialogButtonBox>(&dialog, "buttonBox");
    EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Close);

    QPointer<ProjectPropertyEditWidget> widget = m_widget.release();
    dialog.setWidget(widget);
    auto box = qobject_cast<QVBoxLayout*>(dialog.layout());
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemAt(0)->widget(), widget.data());
    EXPECT_NE(box->itemAt(1)->spacerItem(), nullptr);
    EXPECT_EQ(box->itemAt(2)->widget(), buttons);

    // The create-mode form.
    EXPECT_EQ(widget->objectName(), "CreateModeProjectPropertyEditWidget");
    EXPECT_EQ(widget->size(), QSize(281, 25));
    EXPECT_EQ(part<QGridLayout>(widget, "gridLayout")->contentsMargins(), QMargins(0, 0, 0, 0));
    EXPECT_EQ(part<QLabel>(widget, "csLabel")->text(), "Coordinate System:");
    EXPECT_EQ(part<QPushButton>(widget, "csEditButton")->text(), "Edit");
    EXPECT_EQ(part<QLabel>(widget, "csTextLabel")->text(), notSpecified);
    EXPECT_EQ(widget->property(), m_property);

    // The edit-mode form differs in size and margins only.
    m_session->newEditProject();
    std::unique_ptr<ProjectPropertyEditWidget> editForm(
        m_session->project()->projectFile()->property()->buildEditWidget());
    EXPECT_EQ(editForm->objectName(), "EditModeProjectPropertyEditWidget");
    EXPECT_EQ(editForm->size(), QSize(400, 43));
    EXPECT_NE(part<QGridLayout>(editForm.get(), "gridLayout")->contentsMargins(),
              QMargins(0, 0, 0, 0));
    EXPECT_EQ(part<QLabel>(editForm.get(), "csTextLabel")->text(), notSpecified);

    // The dialog owns its widget.
    dialog.setWidget(editForm.release());
    EXPECT_TRUE(widget.isNull());
}

TEST_F(ProjectPropertyEditDialogTest, ChoosingASystemShowsItAtOnceAndMarksTheProject)
{
    proj::ProjectionPair* japan = pair("EPSG:2451");
    ASSERT_NE(japan, nullptr);
    ASSERT_FALSE(modified());
    ModalAnswerer answerer(select(QStringLiteral("Japan Plane Rectangular CS IX"), caption(japan),
                                  true));
    clickEdit();
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(answerer.answeredClassName(), "guiproj::EllipseToPlaneProjectionPairSelectDialog");
    EXPECT_EQ(m_property->projectionPair(), japan);
    EXPECT_EQ(label(), caption(japan));
    EXPECT_TRUE(modified());
}

TEST_F(ProjectPropertyEditDialogTest, CancellingKeepsTheSystemAndTheLabel)
{
    proj::ProjectionPair* japan = pair("EPSG:2451");
    proj::ProjectionPair* other = pair("EPSG:6677");
    ASSERT_NE(other, nullptr);
    m_property->setProjectionPair(japan);
    m_widget.reset(m_property->buildEditWidget());
    ASSERT_EQ(label(), caption(japan));

    ModalAnswerer answerer(select(QStringLiteral("JGD2011"), caption(other), false));
    clickEdit();
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(m_property->projectionPair(), japan);
    EXPECT_EQ(label(), caption(japan));
    EXPECT_FALSE(modified());

    // Accepting the system there was is no change either.
    ModalAnswerer same(select(QString(), caption(japan), true));
    clickEdit();
    ASSERT_TRUE(same.answered());
    EXPECT_EQ(m_property->projectionPair(), japan);
    EXPECT_FALSE(modified());
}

TEST_F(ProjectPropertyEditDialogTest, ChoosingNotSpecifiedClearsTheSystem)
{
    m_property->setProjectionPair(pair("EPSG:2451"));
    m_widget.reset(m_property->buildEditWidget());
    ModalAnswerer answerer(select(QString(), QString(), true));
    clickEdit();
    ASSERT_TRUE(answerer.answered());
    EXPECT_EQ(m_property->projectionPair(), nullptr);
    EXPECT_EQ(label(), notSpecified);
    EXPECT_TRUE(modified());
}

TEST_F(ProjectPropertyEditDialogTest, ClosingTheDialogKeepsTheChoice)
{
    proj::ProjectionPair* japan = pair("EPSG:2451");
    for (bool titleBar : {false, true}) {
        SCOPED_TRACE(titleBar ? "title bar" : "Close button");
        m_property->setProjectionPair(nullptr);
        ProjectPropertyEditDialog dialog(&m_session->mainWindow());
        dialog.setWidget(m_property->buildEditWidget());

        ModalAnswerer user([&](QWidget* widget) {
            if (widget != &dialog) {
                return;
            }
            ModalAnswerer selection(
                select(QStringLiteral("Japan Plane Rectangular CS IX"), caption(japan), true));
            QTest::mouseClick(part<QPushButton>(&dialog, "csEditButton"), Qt::LeftButton);
            EXPECT_TRUE(selection.answered());
            if (titleBar) {
                dialog.close();
            } else {
                QTest::mouseClick(part<QDialogButtonBox>(&dialog, "buttonBox")
                                      ->button(QDialogButtonBox::Close),
                                  Qt::LeftButton);
            }
        });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_TRUE(user.answered());
        EXPECT_FALSE(user.leftOpen());
        EXPECT_EQ(m_property->projectionPair(), japan);
    }
}

TEST_F(ProjectPropertyEditDialogTest, UnknownSystemShowsNotSpecifiedUntilAChoiceReplacesIt)
{
    m_session->writeProjectXml(QStringLiteral("<Property CSR=\"EPSG:99999\"/>"));
    m_session->project()->load();
    m_widget.reset(m_property->buildEditWidget());
    EXPECT_EQ(label(), notSpecified);
    EXPECT_EQ(m_property->projectionPairName(), "EPSG:99999");

    ModalAnswerer cancel(select(QString(), QString(), false));
    clickEdit();
    EXPECT_EQ(m_property->projectionPairName(), "EPSG:99999");
    EXPECT_FALSE(modified());

    ModalAnswerer choose(select(QString(), QString(), true));
    clickEdit();
    EXPECT_EQ(m_property->projectionPairName(), "");
    EXPECT_TRUE(modified());
}

} // namespace
} // namespace varnel::test
