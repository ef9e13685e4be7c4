#pragma once

#include "brask/proj/ProjectItem.h"

#include <mold/core/Mold.h>

#include <QPointer>

#include <vector>

class QMainWindow;

namespace varnel {

class MoldGroupItemWidget;
class MoldItem;

/// The molds of one edit type (Add or Sub) in the molds library, in display order, which is
/// also the order of their files. A new group holds the five default molds ("Slope 1",
/// "Convex", "Slope 2", "Concave", "Level plane", each named with the group's edit type).
///
/// The group's folder is "Add" or "Sub" (zelmo's text of the edit type) inside the molds
/// container's folder; mold i (from 1) is kept there as "mold<i>.mld". The files are
/// renumbered whenever the list changes and before every save and load, so the names always
/// follow the order. In the project file the group writes one element "Mold" per mold, and
/// reads every child element of its own element as a mold, in document order, whatever its
/// tag.
///
/// The molds are the group's Qt children. `insertAtFront`, `insertAt`, `remove` and `clear`
/// change only the list: they neither give nor take ownership (a mold taken out by a
/// command belongs to that command). Loading deletes the molds the list held and makes new
/// ones.
class MoldGroupItem : public mvc::proj::ProjectItem {
    Q_OBJECT
public:
    MoldGroupItem(mold::core::Mold::EditType editType, mvc::proj::ProjectItem* parent);
    ~MoldGroupItem() override;

    mold::core::Mold::EditType editType() const;
    const std::vector<MoldItem*>& molds() const;

    void insertAtFront(MoldItem* mold);
    /// Inserts before position `index` (0 to the number of molds); std::out_of_range beyond.
    void insertAt(MoldItem* mold, int index);
    /// Takes the first occurrence of `mold` out of the list; the mold is not deleted.
    void remove(MoldItem* mold);
    /// Empties the list; the molds are not deleted.
    void clear();

    /// The Mold Browser's widget of the group; null until the browser binds it, and once it
    /// is gone.
    MoldGroupItemWidget* widget() const;
    void setWidget(MoldGroupItemWidget* widget);

    /// The main window of the project, parent of the molds' dialogs and message boxes; null
    /// outside a project window.
    QMainWindow* mainWindow() const;

    /// The molds' files in list order (the group has no file of its own).
    std::vector<std::string> containedFiles() const override;

protected:
    void doLoadFromProjectMainFile(const QDomElement& element) override;
    void doSaveToProjectMainFile(QXmlStreamWriter* writer) override;

private:
    void addDefaultMolds();
    void renumberFiles();

    mold::core::Mold::EditType m_editType;
    std::vector<MoldItem*> m_molds;
    QPointer<MoldGroupItemWidget> m_widget;
};

} // namespace varnel
