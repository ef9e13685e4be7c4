#pragma once

#include "brask/core/ModelItem.h"

namespace tin::core {
class Tin;
}

namespace varnel {

/// A TIN of a project, shown under its caption ("TIN" unless set), with " (no data)"
/// appended while it holds no TIN.
///
/// For now it never holds a TIN (`tin()` is null) and writes nothing but its row's state.
class ReadOnlyTinItem : public mvc::core::ModelItem {
    Q_OBJECT
public:
    explicit ReadOnlyTinItem(mvc::core::ModelItem* parent);
    ~ReadOnlyTinItem() override;

    QString itemTypeName() const override;

    /// The held TIN, or null.
    tin::core::Tin* tin() const;
    /// Stores the caption; `updateCaption` shows it.
    void setCaption(const QString& caption);
    /// Rebuilds the browser text from the caption.
    void updateCaption();

private:
    QString m_caption;
};

} // namespace varnel
