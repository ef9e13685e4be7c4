#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

namespace mold::core {
class Mold;
}

namespace varnel {

/// The refusal of a save that would write what the project's own readers refuse: a
/// coordinate or an elevation that is NaN or infinite. Such a member would make the whole
/// project unreadable, so the save fails before the member is written: the items' writers
/// call `refuse` (or run their file writer through `write`) with the name the user knows the
/// item by, and the main window shows the message as the save's Error. The archive on disk
/// stays as it was, since nothing is packed after a failed write.
///
/// Stateless.
class NonFiniteSaveGuard {
    Q_DECLARE_TR_FUNCTIONS(varnel::NonFiniteSaveGuard)

public:
    NonFiniteSaveGuard() = delete;

    /// Throws `guimisc::ErrorMessage` "Cannot save %1: it holds a coordinate that is not a
    /// finite number." with the item's name.
    [[noreturn]] static void refuse(const QString& name);
    /// Runs `writer`; a `tin::io::NonFiniteValueException` of the file writers in it
    /// becomes `refuse(name)`, anything else passes unchanged.
    static void write(const QString& name, const std::function<void()>& writer);
    /// Whether every point of the mold and its base point are finite.
    static bool isFinite(const mold::core::Mold& mold);
    /// Whether both numbers are finite.
    static bool isFinite(double x, double y);
};

} // namespace varnel
