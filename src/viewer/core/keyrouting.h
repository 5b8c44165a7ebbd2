#pragma once

// What the main window does with a key it sees before the focused control.
// Every key, handled or not, still goes on to the focused control.
enum class KeyAction {
    FocusResultList, // Enter, Up, Down
    Nothing,         // Page Up, Left, Right, Page Down: explicitly no focus move
    FocusQueryBox,   // Escape
    Print,           // F7
    ToggleVariants,  // F8: the variant search switch
    NextHit,         // F3: the page's next hit
    PreviousHit,     // Shift+F3: the page's previous hit
    NotHandled,      // every other key
};

// Takes a Qt::Key value, bare or combined with modifiers; the modifiers play
// no part (Shift+F7 prints, Ctrl+Enter acts as Enter), but for F3, where
// Shift steps back. Both
// Qt::Key_Return and Qt::Key_Enter (keypad) count as Enter.
KeyAction routeKey(int key);
