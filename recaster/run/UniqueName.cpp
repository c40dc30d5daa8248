#include "UniqueName.h"

#include <QFileInfo>

namespace rc {

QString UniqueFileName(const QString& folder, const QString& name, QSet<QString>* reserved) {
    auto taken = [&](const QString& n) { return QFileInfo::exists(folder + n) || (reserved && reserved->contains(n)); };
    auto take = [&](const QString& n) {
        if (reserved) reserved->insert(n);
        return n;
    };
    if (!taken(name)) return take(name);
    // The base is everything before the last dot of the name itself.
    const int dot = name.lastIndexOf('.');
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    for (int i = 1; i <= kMaxUniqueCounter; ++i) {
        const QString candidate = QStringLiteral("%1(%2)%3").arg(base).arg(i).arg(ext);
        if (!taken(candidate)) return take(candidate);
    }
    return {};
}

}  // namespace rc
