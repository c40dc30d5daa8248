#pragma once
// Shortcut8pre.dat: one section per command ("Action1".."Action130" when
// written), each with the key "Shortcut". Entries bind to the commands by
// position; the section names are never looked at when reading.
#include <QList>
#include <QString>
#include <QStringList>

class QAction;

// The stored form of one command's shortcut.
struct TShortCut_ {
    QString Shortcut;
};

// When the file does not exist, writes one section "Action<n>" per action in
// order with "Shortcut" = the action's current shortcut text. An existing file
// is left alone. False (and *error set) when the file cannot be written.
bool WriteDefaultShortcuts(const QString& path, const QList<QAction*>& actions, QString* error = nullptr);

// Writes the given shortcut texts as sections "Action1".. in order (the
// shortcuts dialog's OK). False (and *error set) when the write fails.
bool WriteShortcuts(const QString& path, const QList<TShortCut_>& shortcuts, QString* error = nullptr);

// The "Shortcut" values of the file's sections in file order.
QList<TShortCut_> ReadShortcuts(const QString& path);

// Gives the k-th action the shortcut of the k-th section. Sections beyond the
// actions are ignored; actions beyond the sections keep their shortcut.
void LoadShortcuts(const QString& path, const QList<QAction*>& actions);
