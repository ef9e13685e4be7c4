#pragma once

namespace guimisc {

/// Constants shared by the windows of the program.
class WindowSupport {
public:
    WindowSupport() = delete;

    /// How long a status-bar message stays, in milliseconds.
    static constexpr int STATUSBAR_TIMEOUT = 5000;
};

} // namespace guimisc
