#include "ShortcutText.h"

#include <array>

namespace {

struct NamedKey {
    Qt::Key key;
    const char* name;
};

// Keys with a fixed name of their own (first entry of a key wins when
// writing; Enter is written for both the main and the keypad key).
constexpr std::array<NamedKey, 17> kNamedKeys = {{
    {Qt::Key_Backspace, "BkSp"}, {Qt::Key_Tab, "Tab"},       {Qt::Key_Escape, "Esc"},
    {Qt::Key_Return, "Enter"},   {Qt::Key_Enter, "Enter"},   {Qt::Key_Space, "Space"},
    {Qt::Key_PageUp, "PgUp"},    {Qt::Key_PageDown, "PgDn"}, {Qt::Key_End, "End"},
    {Qt::Key_Home, "Home"},      {Qt::Key_Left, "Left"},     {Qt::Key_Up, "Up"},
    {Qt::Key_Right, "Right"},    {Qt::Key_Down, "Down"},     {Qt::Key_Insert, "Ins"},
    {Qt::Key_Delete, "Del"},     {Qt::Key_Backtab, "Tab"},
}};

bool IsModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_Super_L ||
           key == Qt::Key_Super_R || key == Qt::Key_unknown || key == 0;
}

QString KeyName(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return QString(QChar(char16_t('A' + (key - Qt::Key_A))));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return QString(QChar(char16_t('0' + (key - Qt::Key_0))));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    for (const NamedKey& k : kNamedKeys)
        if (k.key == key) return QString::fromLatin1(k.name);
    // Any other key: Qt's portable name of the bare key ("Print", "-", "F25", ...).
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

int KeyFromName(const QString& name) {
    if (name.isEmpty()) return 0;
    if (name.size() == 1) {
        const QChar c = name.at(0).toUpper();
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) return Qt::Key_A + (c.unicode() - 'A');
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return Qt::Key_0 + (c.unicode() - '0');
    }
    if (name.size() >= 2 && (name.at(0) == QLatin1Char('F') || name.at(0) == QLatin1Char('f'))) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 24 && name.at(1) != QLatin1Char('+') && name.at(1) != QLatin1Char('0'))
            return Qt::Key_F1 + (n - 1);
    }
    for (const NamedKey& k : kNamedKeys)
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0) return k.key;
    // Qt's own names for the rest; only a single bare key is accepted.
    const QKeySequence seq = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (seq.count() != 1) return 0;
    const QKeyCombination kc = seq[0];
    if (kc.keyboardModifiers() != Qt::NoModifier || IsModifierKey(kc.key())) return 0;
    return kc.key();
}

}  // namespace

QString ShortcutToText(QKeyCombination combination) {
    const int key = combination.key();
    if (IsModifierKey(key)) return {};
    const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
    QString text;
    if (mods & Qt::ShiftModifier) text += QLatin1String("Shift+");
    if (mods & Qt::ControlModifier) text += QLatin1String("Ctrl+");
    if (mods & Qt::AltModifier) text += QLatin1String("Alt+");
    const QString name = KeyName(key);
    if (name.isEmpty()) return {};
    return text + name;
}

QString ShortcutToText(const QKeySequence& shortcut) {
    if (shortcut.isEmpty()) return {};
    return ShortcutToText(shortcut[0]);
}

QKeySequence TextToShortcut(const QString& text) {
    QString rest = text.trimmed();
    Qt::KeyboardModifiers mods;
    // Strip modifier prefixes in any order; "Ctrl++" leaves "+" as the key.
    for (bool found = true; found && rest.size() > 1;) {
        found = false;
        struct { const char* prefix; Qt::KeyboardModifier mod; } prefixes[] = {
            {"Shift+", Qt::ShiftModifier}, {"Ctrl+", Qt::ControlModifier}, {"Alt+", Qt::AltModifier}};
        for (const auto& p : prefixes) {
            const QLatin1String prefix(p.prefix);
            if (rest.size() > prefix.size() && rest.startsWith(prefix, Qt::CaseInsensitive)) {
                mods |= p.mod;
                rest = rest.mid(prefix.size());
                found = true;
            }
        }
    }
    const int key = KeyFromName(rest);
    if (key == 0) return {};
    return QKeySequence(QKeyCombination(mods, Qt::Key(key)));
}
