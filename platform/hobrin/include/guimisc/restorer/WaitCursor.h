#pragma once

namespace guimisc::restorer {

/// The wait cursor over the whole application for the lifetime of this object, however the
/// scope ends: a long operation inside one handler. It is the application's override cursor
/// (`QApplication::setOverrideCursor`), so it shows over every widget, also one with a cursor
/// of its own (a view after a zoom, a tool's cross), which a cursor set on the main window
/// would not. Objects nest; each takes back only its own. Make it after any question the
/// operation asks and let it go before any message box shows. Not copyable.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace guimisc::restorer
