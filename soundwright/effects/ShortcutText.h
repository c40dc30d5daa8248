#pragma once
// The stored text form of a keyboard shortcut: the modifiers "Shift+",
// "Ctrl+" and "Alt+" in this order, then the key name ("A".."Z", "0".."9",
// "F1".."F24", "BkSp", "Tab", "Esc", "Enter", "Space", "PgUp", "PgDn", "End",
// "Home", "Left", "Up", "Right", "Down", "Ins", "Del", other keys by Qt's
// portable key name). The empty text means no shortcut.
#include <QKeySequence>
#include <QString>

// The text of the first key of a sequence ("" for an empty sequence or a
// lone modifier). Keypad digits read as plain digits; the Meta modifier has
// no place in the text and is left out.
QString ShortcutToText(const QKeySequence& shortcut);
QString ShortcutToText(QKeyCombination key);

// The shortcut of a text; modifiers are accepted in any order and names
// without regard to case. Empty or unknown text gives an empty sequence.
QKeySequence TextToShortcut(const QString& text);
