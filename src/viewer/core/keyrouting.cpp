#include "keyrouting.h"

#include <Qt>

KeyAction routeKey(int key)
{
    // A combined key (QKeyCombination::toCombined) acts as the bare key.
    switch (key & ~int(Qt::KeyboardModifierMask)) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return KeyAction::FocusResultList;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        return KeyAction::Nothing;
    case Qt::Key_Escape:
        return KeyAction::FocusQueryBox;
    case Qt::Key_F7:
        return KeyAction::Print;
    case Qt::Key_F8:
        return KeyAction::ToggleVariants;
    case Qt::Key_F3:
        return key & Qt::ShiftModifier ? KeyAction::PreviousHit : KeyAction::NextHit;
    default:
        return KeyAction::NotHandled;
    }
}
