#pragma once

#include "brask/core/ModelItem.h"

#include <QString>

#include <memory>

namespace tin::core {
class Tin;
}

namespace varnel {

class ReadOnlyTinItemController;
class ReadOnlyTinItemView;

/// A TIN of a project: the TIN created in a create-mode project, the base TIN of an
/// edit-mode project. Its browser row shows the caption ("TIN" unless set), followed by
/// " (no data)" while the item holds no TIN or an empty one.
///
/// The item owns its TIN (none at construction). TIN creation and the editing commands
/// replace it through `setTin` and `replaceTin`, usually inside
/// `ReadOnlyTinItemController::SetTinCommand`. It is stored as a TIN archive,
/// "readOnlyTin.tin" in the work folder: written only while a TIN is held, and a missing
/// file loads as no TIN. A TIN that the project read ahead while its archive unpacked
/// (`TinReadAhead`) is taken instead of reading the file again. The view paints it coloured by elevation; the controller exports it
/// as binary STL.
///
/// Cost: loading and saving go through orlin's archive reader and writer without further
/// copies of the TIN; the browser text is rebuilt in constant time.
class ReadOnlyTinItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    /// The item's file in the work folder.
    static const char FILENAME[];

    explicit ReadOnlyTinItem(mvc::core::ModelItem* parent);
    ~ReadOnlyTinItem() override;

    QString itemTypeName() const override;
    /// The TIN's bounding rectangle (x, y, width, height); all zero without a TIN.
    QRectF myBoundingBox() const override;

    /// The held TIN, or null.
    tin::core::Tin* tin() const;
    /// Deletes the held TIN, takes `tin` over (null: no TIN) and rebuilds the browser text.
    void setTin(tin::core::Tin* tin);
    /// Moves the held TIN into `old` (an empty TIN when none is held), takes `tin` over and
    /// rebuilds the browser text: what undo commands use to keep the TIN they replace.
    void replaceTin(tin::core::Tin* tin, tin::core::Tin& old);
    /// Stores the caption; `updateCaption` shows it.
    void setCaption(const QString& caption);
    /// Rebuilds the browser text from the caption and the held TIN.
    void updateCaption();
    /// Writes the held TIN to `path` as binary STL (see `TinExporter`). Throws
    /// `guimisc::exception::QStringRuntimeError` naming the path when there is no TIN or the
    /// file cannot be written; the file at `path` is then as it was.
    void exportToStl(const QString& path) const;

    ReadOnlyTinItemController* controller() const;
    ReadOnlyTinItemView* view() const;

signals:
    /// The part of the TIN given as `partialTin` has changed. The item never emits it
    /// itself: the GeoEdit surfaces relay their own changes of the edited TIN through it,
    /// so that the views of profiles can rebuild what they show.
    void tinChanged(const tin::core::Tin& partialTin);

protected:
    /// For subclasses that store their TIN under another file name.
    ReadOnlyTinItem(const std::string& filename, mvc::core::ModelItem* parent);

    void loadExternalData(const std::string& absoluteFilename) override;
    void saveExternalData(const std::string& absoluteFilename) override;
    mvc::core::ModelItemView* buildView() const override;
    mvc::core::ModelItemController* buildController() const override;

private:
    std::unique_ptr<tin::core::Tin> m_tin;
    QString m_caption;
};

} // namespace varnel
