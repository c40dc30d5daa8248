#include "Shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "DialogService.h"
#include "Folders.h"

namespace rc {

namespace {
QString& ProgramDirOverride() {
    static QString dir;
    return dir;
}
ShellOpener& Opener() {
    static ShellOpener opener;
    return opener;
}
}  // namespace

QString ProgramDir() {
    if (!ProgramDirOverride().isEmpty()) return ProgramDirOverride();
    return QCoreApplication::applicationDirPath();
}

void SetProgramDir(const QString& dir) {
    QString d = dir;
    while (d.size() > 1 && d.endsWith('/')) d.chop(1);
    ProgramDirOverride() = d;
}

void ShellOpen(const QString& target) {
    if (target.isEmpty()) return;
    if (Opener()) {
        Opener()(target);
        return;
    }
    const QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
    QDesktopServices::openUrl(url);
}

ShellOpener SetShellOpener(ShellOpener opener) {
    ShellOpener previous = Opener();
    Opener() = std::move(opener);
    return previous;
}

QString IncludeTrailingBackslash(const QString& path) { return sw::IncludeTrailingSeparator(path); }

QString SelectFolder(const QString& current, QWidget* owner) {
    sw::FileDialogRequest r;
    r.kind = sw::FileDialogRequest::Folder;
    r.caption = QStringLiteral("Please select a folder");
    r.directory = current;
    return sw::Dialogs().GetFile(r, owner);
}

}  // namespace rc
