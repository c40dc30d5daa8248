#include "DialogService.h"

#include <QDialog>
#include <QFileDialog>
#include <QRegularExpression>

#include "DialogConventions.h"

namespace sw {

namespace {
DialogService* g_service = nullptr;
QtDialogService& DefaultService() {
    static QtDialogService s;
    return s;
}
}  // namespace

int QtDialogService::Exec(QDialog& dialog, QWidget* owner) {
    return ExecCentred(&dialog, owner);
}

QString QtDialogService::GetFile(const FileDialogRequest& r, QWidget* owner) {
    switch (r.kind) {
    case FileDialogRequest::Folder:
        return QFileDialog::getExistingDirectory(owner, r.caption, r.directory,
                                                 QFileDialog::ShowDirsOnly);
    case FileDialogRequest::Open:
    case FileDialogRequest::Save: {
        QFileDialog d(owner, r.caption, r.directory, r.filter);
        d.setAcceptMode(r.kind == FileDialogRequest::Save ? QFileDialog::AcceptSave
                                                          : QFileDialog::AcceptOpen);
        d.setFileMode(r.kind == FileDialogRequest::Save ? QFileDialog::AnyFile
                                                        : QFileDialog::ExistingFile);
        d.setOption(QFileDialog::ReadOnly, false);
        d.setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
        if (!r.defaultSuffix.isEmpty()) d.setDefaultSuffix(r.defaultSuffix);
        if (!r.fileName.isEmpty()) d.selectFile(r.fileName);
        d.setSizeGripEnabled(true);
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
        return d.selectedFiles().first();
    }
    }
    return {};
}

DialogService& Dialogs() { return g_service ? *g_service : DefaultService(); }

DialogService* SetDialogService(DialogService* service) {
    DialogService* previous = g_service;
    g_service = service;
    return previous;
}

int ExecDialog(QDialog& dialog, QWidget* owner) { return Dialogs().Exec(dialog, owner); }

QString QtFilterFromPipes(const QString& pipes) {
    const QStringList parts = pipes.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString caption = parts[i].trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        // A caption that shows its own patterns is kept as it is; Qt reads
        // the last parenthesised group as the patterns, so add ours after it.
        out << QString("%1 (%2)").arg(caption, patterns);
    }
    return out.join(";;");
}

}  // namespace sw
