#pragma once
// The main window's command catalogue: 130 commands in their fixed order.
// The order numbers the entries of Shortcut8pre.dat and the rows of the
// shortcuts dialog, so it must never change; new commands go at the end.
#include <QHash>
#include <QList>
#include <QString>

class QAction;
class QActionGroup;
class QObject;

// When a command may run (see CommandEnabled below).
enum class TCommandRule {
    Always,        // no document needed
    OpenWithExt,   // a document is open and its file name has an extension
    Open,          // a document is open
    CanUndo,       // open and the editor can undo
    CanRedo,       // open and the editor can redo
    Clip,          // open and something was cut or copied
    Audio,         // open and the document is not empty
    Sel,           // audio and the selection is not empty
};

// Radio groups of check items; None for plain or independent check items.
enum class TCommandGroup { None, DisplayMode, HorizontalFormat, VerticalFormat, CommandListSide };

struct TCommandInfo {
    int number;            // 1-based position
    const char* name;      // objectName of the action
    const char* caption;   // caption as the menus show it ("&" marks the accelerator)
    const char* shortcut;  // built-in shortcut text, "" for none
    TCommandRule rule;
    bool checkable;
    TCommandGroup group;
    bool effect;           // an effect command (part of the Effect menu button's rule)
};

constexpr int kCommandCount = 130;

// All commands in order (index = number - 1).
const QList<TCommandInfo>& CommandTable();
// The entry with that objectName, or nullptr.
const TCommandInfo* FindCommand(const QString& objectName);
// The caption with every "&" removed (as the shortcuts dialog lists it).
QString StripAmpersands(const QString& caption);

// The document state that decides which commands are enabled.
struct TCommandState {
    bool open = false;
    bool hasExtension = false;  // current file name has an extension
    bool canUndo = false;
    bool canRedo = false;
    bool clip = false;
    bool audio = false;         // open and Length > 0
    bool sel = false;           // audio and SelEnd - SelStart > 0
};
bool CommandEnabled(TCommandRule rule, const TCommandState& state);

// One QAction per command in order, owned by `owner`: objectName, text,
// built-in shortcut, check state and radio groups set; every command is
// disabled except the always-enabled ones. The radio groups are QActionGroups
// owned by `owner` with the objectNames "GroupDisplayMode",
// "GroupHorizontalFormat", "GroupVerticalFormat" and "GroupCommandListSide".
QList<QAction*> CreateCommandActions(QObject* owner);

// objectName -> action, for building the menus and the ribbon.
QHash<QString, QAction*> ActionsByName(const QList<QAction*>& actions);

// Sets every action's enabled state from its rule (actions not in the table
// are left alone).
void ApplyCommandStates(const QList<QAction*>& actions, const TCommandState& state);
