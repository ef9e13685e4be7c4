#pragma once

#include "brask/core/ModelItemControllerT.h"

#include <guimisc/UserDialogs.h>

#include <QCoreApplication>
#include <QMainWindow>
#include <QString>

#include <exception>

namespace varnel {

/// An item controller whose user commands end at their boundary: `guarded` runs a command
/// and shows a failure (any `std::exception`) in the "Error" box with the exception's text
/// instead of letting it escape into Qt's event handling; the main-view input hooks hand
/// their events to the active mode inside `guarded`. Controllers whose modes or slots can
/// fail (a pick on an empty path, a failed read) derive from it and wrap their slots.
/// Header-only.
template <class Item>
class GuardedItemControllerT : public mvc::core::ModelItemControllerT<Item> {
    using Base = mvc::core::ModelItemControllerT<Item>;

public:
    using Base::Base;

    void keyPressEvent(QKeyEvent* event, mvc::core::View* view) override
    {
        guarded([&] { Base::keyPressEvent(event, view); });
    }
    void keyReleaseEvent(QKeyEvent* event, mvc::core::View* view) override
    {
        guarded([&] { Base::keyReleaseEvent(event, view); });
    }
    void mouseDoubleClickEvent(QMouseEvent* event, mvc::core::View* view) override
    {
        guarded([&] { Base::mouseDoubleClickEvent(event, view); });
    }
    void mouseMoveEvent(QMouseEvent* event, mvc::core::View* view) override
    {
        guarded([&] { Base::mouseMoveEvent(event, view); });
    }
    void mousePressEvent(QMouseEvent* event, mvc::core::View* view) override
    {
        guarded([&] { Base::mousePressEvent(event, view); });
    }
    void mouseReleaseEvent(QMouseEvent* event, mvc::core::View* view) override
    {
        guarded([&] { Base::mouseReleaseEvent(event, view); });
    }

protected:
    /// Runs `command`; a failure goes to the "Error" box on the controller's main window.
    template <class Command>
    void guarded(Command command)
    {
        try {
            command();
        } catch (const std::exception& e) {
            const QString title =
                QCoreApplication::translate("varnel::GuardedItemControllerT", "Error");
            guimisc::UserDialogs::critical(this->mainWindow(), title,
                                           QString::fromLocal8Bit(e.what()));
        }
    }
};

} // namespace varnel
