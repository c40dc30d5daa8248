#pragma once
// Small services of the converter's windows: the program folder, the shell
// "Open" of a path or address, the folder dialog and the trailing-separator
// rule. Tests replace the program folder and the opener.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace rc {

// The folder of the executable (or the one a test set), without a trailing
// separator.
QString ProgramDir();
// Sets the program folder; an empty text returns to the executable's folder.
void SetProgramDir(const QString& dir);

// Opens a file, folder or web address in the desktop's default handler.
using ShellOpener = std::function<void(const QString&)>;
void ShellOpen(const QString& target);
// Replaces the opener (an empty function restores the desktop one); returns
// the previous one.
ShellOpener SetShellOpener(ShellOpener opener);

// Adds the folder separator unless the path ends in one.
QString IncludeTrailingBackslash(const QString& path);

// The folder dialog "Please select a folder" at `current`; the chosen folder
// or an empty text when cancelled.
QString SelectFolder(const QString& current, QWidget* owner);

}  // namespace rc
