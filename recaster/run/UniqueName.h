#pragma once
// Output names that overwrite nothing: the name itself when the folder has
// no file of that name, else base + "(n)" + extension for the first free n.
#include <QSet>
#include <QString>

namespace rc {

inline constexpr int kMaxUniqueCounter = 32767;

// `folder` ends with a separator. Names in `reserved` count as taken, and
// the chosen name is added to it, so one run never picks a name twice.
// Empty when every counter is taken.
QString UniqueFileName(const QString& folder, const QString& name, QSet<QString>* reserved = nullptr);

}  // namespace rc
