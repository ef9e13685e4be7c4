#pragma once

// Test support of the point import: a create-mode project whose group "Coordinate point data"
// imports files chosen through the message seam, the setting dialog answered like a user, and
// the region drawn on the main view from inside the import's wait. GML fixtures and the plane
// coordinates of cs2cs come from the GML layer's own test support.

#include "SurveyTestSupport.h"
#include "support/ModalAnswerer.h"

#include "CalvexTestSupport.h"

#include "movarin/shell/ProjectFile.h"
#include "movarin/shell/ProjectProperty.h"
#include "movarin/survey/CoordinatePointsBaseItemView.h"
#include "movarin/survey/CoordinatePointsGroupItem.h"
#include "movarin/survey/CoordinatePointsGroupItemController.h"
#include "movarin/survey/CoordinatePointsItem.h"
#include "orlin/core/PointSet.h"

#include <guimisc/UserDialogScript.h>

#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace varnel::test {

/// PROJ definitions of the coordinate systems the tests use, as the catalogue has them.
inline const char* const EPSG_6676 =
    "+proj=tmerc +lat_0=36 +lon_0=138.5 +k=0.9999 +x_0=0 +y_0=0 +ellps=GRS80 +units=m +no_defs";

/// The real elevation models beside the tests.
inline QString realGml(const char* name)
{
    return QStringLiteral(MOVARIN_SHARED_DATA_DIR "/real/gml/") + QString::fromLatin1(name);
}

/// Runs an action once from inside the region wait of `controller`, as soon as it waits.
class DuringRegionWait : public QObject {
public:
    DuringRegionWait(CoordinatePointsGroupItemController* controller, std::function<void()> action)
        : m_controller(controller), m_action(std::move(action))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_controller && m_controller->isWaitingForRegion()) {
                m_timer.stop();
                m_ran = true;
                m_action();
            }
        });
        m_timer.start();
    }

    bool ran() const { return m_ran; }

private:
    QPointer<CoordinatePointsGroupItemController> m_controller;
    std::function<void()> m_action;
    QTimer m_timer;
    bool m_ran = false;
};

/// A create-mode project, its group of imported points and a folder for the test's files;
/// every message box and file dialog goes through the test's script.
class PointImportTest : public SurveyProjectTest {
protected:
    CoordinatePointsGroupItem* group() const { return root()->coordinatePointsGroupItem(); }
    CoordinatePointsGroupItemController* controller() const { return group()->controller(); }
    static QString filter(int index) { return CoordinatePointsGroupItem::fileFilters().at(index); }
    static QString allFiles() { return filter(0); }
    static QString zipFiles() { return filter(1); }
    static QString xmlFiles() { return filter(2); }
    static QString tpoFiles() { return filter(3); }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    /// Sets the project's coordinate system from the catalogue ("EPSG:6676").
    void setCoordinateSystem(const char* name)
    {
        proj::ProjectionPair* pair =
            session().mainWindow().projectionPairBuilder()->projectionPair(name);
        ASSERT_NE(pair, nullptr) << name;
        project().projectFile()->property()->setProjectionPair(pair);
    }

    /// The imported items of `of` (the project's group by default), first child first.
    std::vector<CoordinatePointsItem*> items(const CoordinatePointsGroupItem* of = nullptr) const
    {
        std::vector<CoordinatePointsItem*> result;
        for (mvc::core::ModelItem* child : (of ? of : group())->childItems()) {
            result.push_back(qobject_cast<CoordinatePointsItem*>(child));
        }
        return result;
    }

    /// The texts of the message boxes so far, oldest first.
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const auto& record : m_script.messageBoxes()) {
            texts << record.text;
        }
        return texts;
    }

    /// Writes a point text file of (x, y, z) lines.
    QString writeTpo(const QString& name, const std::vector<std::array<double, 3>>& points) const
    {
        std::string text;
        for (const auto& p : points) {
            text += QStringLiteral("%1,%2,%3\n").arg(p[0], 0, 'g', 17).arg(p[1], 0, 'g', 17)
                        .arg(p[2], 0, 'g', 17).toStdString();
        }
        calvextest::writeFile(path(name), text);
        return path(name);
    }

    /// An import with the file dialog answered by `file` and `chosenFilter`: without a setting
    /// dialog (point text, or a GML file refused before it).
    void importFile(const QString& file, const QString& chosenFilter)
    {
        m_script.answerFile(file, chosenFilter);
        controller()->importData();
    }

    /// A GML import: the setting dialog gets `step` and OK, or Cancel for no step; `drawRegion`
    /// runs inside the region wait. True when the dialog was shown.
    bool importGml(const QString& file, const QString& chosenFilter, std::optional<int> step,
                   const std::function<void()>& drawRegion)
    {
        ModalAnswerer answerer([step](QWidget* dialog) {
            auto buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            if (step) {
                dialog->findChild<QSpinBox*>(QStringLiteral("stepSpinBox"))->setValue(*step);
                buttons->button(QDialogButtonBox::Ok)->click();
            } else {
                buttons->button(QDialogButtonBox::Cancel)->click();
            }
        });
        DuringRegionWait wait(controller(), drawRegion);
        importFile(file, chosenFilter);
        EXPECT_FALSE(answerer.leftOpen());
        return answerer.answered();
    }

    /// A left-button drag on the main view from `from` to `to`.
    void drag(const QPoint& from, const QPoint& to)
    {
        scene().press(from);
        scene().move((from + to) / 2, Qt::LeftButton);
        scene().move(to, Qt::LeftButton);
        scene().release(to);
    }
    /// A release without a drag: the whole file.
    void releaseOnly() { scene().release(QPoint(10, 10)); }

    QTemporaryDir m_dir;
    guimisc::UserDialogScript m_script;
};

} // namespace varnel::test
