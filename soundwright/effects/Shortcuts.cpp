#include "Shortcuts.h"

#include <QAction>
#include <QFile>
#include <memory>

#include "IniFile.h"
#include "ShortcutText.h"

namespace {

const QString kKey = QStringLiteral("Shortcut");

// One read of the whole file; further reads work on memory.
std::unique_ptr<sw::IniFile> Snapshot(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return sw::IniFile::FromBytes({});
    return sw::IniFile::FromBytes(f.readAll());
}

bool WriteAll(const QString& path, const QStringList& texts, QString* error) {
    sw::IniFile ini(path);
    sw::IniUpdate update(ini);
    for (int i = 0; i < texts.size(); ++i)
        ini.WriteString(QStringLiteral("Action%1").arg(i + 1), kKey, texts.at(i));
    if (update.finish()) return true;
    if (error) *error = ini.errorString();
    return false;
}

}  // namespace

bool WriteDefaultShortcuts(const QString& path, const QList<QAction*>& actions, QString* error) {
    if (QFile::exists(path)) return true;
    QStringList texts;
    for (const QAction* a : actions) texts << ShortcutToText(a->shortcut());
    return WriteAll(path, texts, error);
}

bool WriteShortcuts(const QString& path, const QList<TShortCut_>& shortcuts, QString* error) {
    QStringList texts;
    for (const TShortCut_& s : shortcuts) texts << s.Shortcut;
    return WriteAll(path, texts, error);
}

QList<TShortCut_> ReadShortcuts(const QString& path) {
    const auto ini = Snapshot(path);
    QList<TShortCut_> list;
    for (const QString& section : ini->ReadSections()) list.append({ini->ReadString(section, kKey, QString())});
    return list;
}

void LoadShortcuts(const QString& path, const QList<QAction*>& actions) {
    const QList<TShortCut_> stored = ReadShortcuts(path);
    const qsizetype n = std::min(stored.size(), actions.size());
    for (qsizetype k = 0; k < n; ++k) actions.at(k)->setShortcut(TextToShortcut(stored.at(k).Shortcut));
}
