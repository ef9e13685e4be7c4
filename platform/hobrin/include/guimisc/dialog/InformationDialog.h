#pragma once

#include <QString>

class QWidget;

namespace guimisc::dialog {

/// An informational message that the program may show many times (a hint at the start of a
/// tool, say), named by a key so that it can be told apart from other messages. It is shown
/// every time it is asked for: an information box with one Ok button, through
/// `UserDialogs::information`, so a `UserDialogScript` answers it like any other box. GUI
/// thread only.
class InformationDialog {
public:
    InformationDialog() = delete;

    static void information(QWidget* parent, const QString& title, const QString& message,
                            const QString& key);
};

} // namespace guimisc::dialog
