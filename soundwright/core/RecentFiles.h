#pragma once
// The recent files list: full paths, oldest first, newest last, never one
// twice, no length limit. Stored in MRUList.dat as one path per line.
#include <QString>
#include <QStringList>

class RecentFiles {
public:
    // Replaces the list with the file's lines (empty lines and repeats
    // skipped); false when the file does not exist or cannot be read.
    bool Load(const QString& path);
    // Writes the list atomically; false on failure.
    bool Save(const QString& path) const;
    // Removes the path when listed, then appends it.
    void Touch(const QString& path);
    void Remove(const QString& path);
    void Clear() { list.clear(); }

    QStringList list;
};
