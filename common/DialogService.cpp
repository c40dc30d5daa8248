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
                      : r.multiSelect                   ? QFileDialog::ExistingFiles
                                                        : QFileDialog::ExistingFile);
        d.setOption(QFileDialog::ReadOnly, false);
        d.setOption(QFileDialog::DontConfirmOverwrite, !r.confirmOverwrite);
        if (!r.defaultSuffix.isEmpty()) d.setDefaultSuffix(r.defaultSuffix);
        if (!r.fileName.isEmpty()) d.selectFile(r.fileName);
        d.setSizeGripEnabled(true);
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return {};
        if (r.kind == FileDialogRequest::Open && r.multiSelect)
            return d.selectedFiles().join('\n');
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
    static const QRegularExpression ownPatterns(QStringLiteral("^(.*)\\(([^()]*)\\)\\s*$"));
    const QStringList parts = pipes.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString caption = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        // Qt reads the patterns from the caption's last parenthesised group,
        // separated by blanks: a caption that shows its patterns gets them in
        // that form, any other caption gets them appended.
        const QRegularExpressionMatch m = ownPatterns.match(caption);
        if (m.hasMatch())
            out << m.captured(1) + "(" + patterns + ")";
        else
            out << caption + " (" + patterns + ")";
    }
    return out.join(";;");
}

}  // namespace sw
