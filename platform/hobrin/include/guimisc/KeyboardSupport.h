#pragma once

namespace guimisc {

/// Key tests shared by the editing tools.
class KeyboardSupport {
public:
    KeyboardSupport() = delete;

    /// True for the main keyboard's Return and the keypad's Enter (`Qt::Key_Return`,
    /// `Qt::Key_Enter`), which both finish an input.
    static bool isEnterKey(int key);
};

} // namespace guimisc
