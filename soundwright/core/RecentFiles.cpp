#include "RecentFiles.h"

#include <QFile>
#include <QSaveFile>

bool RecentFiles::Load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QString text = QString::fromUtf8(f.readAll());
    list.clear();
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || list.contains(line)) continue;
        list << line;
    }
    return true;
}

bool RecentFiles::Save(const QString& path) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QByteArray data;
    for (const QString& p : list) data += p.toUtf8() + '\n';
    if (f.write(data) != data.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

void RecentFiles::Touch(const QString& path) {
    list.removeAll(path);
    list << path;
}

void RecentFiles::Remove(const QString& path) { list.removeAll(path); }
