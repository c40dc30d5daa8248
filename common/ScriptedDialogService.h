#pragma once
// A DialogService for tests. Each modal dialog that runs is handed to the
// next scripted handler, which may work its controls (find them by
// objectName) and returns the result; each file dialog takes the next
// scripted path. Every request is recorded. A dialog or file request with no
// scripted answer left is recorded as a failure and cancelled.
#include "DialogService.h"

#include <QList>
#include <deque>
#include <functional>

namespace sw {

class ScriptedDialogService : public DialogService {
public:
    // A handler returns the result, or -1 to keep the result the dialog's
    // own buttons gave it (for example after clicking ButtonOK).
    using Handler = std::function<int(QDialog&)>;

    // Appends a handler for the next modal dialog.
    ScriptedDialogService& ThenDialog(Handler handler);
    // Shorthands: accept or reject the next dialog as it is.
    ScriptedDialogService& ThenAccept();
    ScriptedDialogService& ThenReject();
    // Appends the answer of the next file dialog ("" = cancel).
    ScriptedDialogService& ThenFile(const QString& path);

    int Exec(QDialog& dialog, QWidget* owner) override;
    QString GetFile(const FileDialogRequest& request, QWidget* owner) override;

    // objectName (or class name when unnamed) of every dialog run, in order.
    const QStringList& dialogs() const { return dialogs_; }
    // Window titles of every dialog run, in order.
    const QStringList& titles() const { return titles_; }
    const QList<FileDialogRequest>& fileRequests() const { return fileRequests_; }
    const QStringList& failures() const { return failures_; }
    bool scriptFailed() const { return !failures_.isEmpty(); }
    int remainingDialogs() const { return int(handlers_.size()); }
    int remainingFiles() const { return int(files_.size()); }

private:
    std::deque<Handler> handlers_;
    std::deque<QString> files_;
    QStringList dialogs_, titles_, failures_;
    QList<FileDialogRequest> fileRequests_;
};

}  // namespace sw
