#include "ScriptedDialogService.h"

#include <QDialog>

namespace sw {

ScriptedDialogService& ScriptedDialogService::ThenDialog(Handler handler) {
    handlers_.push_back(std::move(handler));
    return *this;
}

ScriptedDialogService& ScriptedDialogService::ThenAccept() {
    return ThenDialog([](QDialog&) { return int(QDialog::Accepted); });
}

ScriptedDialogService& ScriptedDialogService::ThenReject() {
    return ThenDialog([](QDialog&) { return int(QDialog::Rejected); });
}

ScriptedDialogService& ScriptedDialogService::ThenFile(const QString& path) {
    files_.push_back(path);
    return *this;
}

int ScriptedDialogService::Exec(QDialog& dialog, QWidget*) {
    const QString name = dialog.objectName().isEmpty()
        ? QString::fromLatin1(dialog.metaObject()->className()) : dialog.objectName();
    dialogs_ << name;
    titles_ << dialog.windowTitle();
    if (handlers_.empty()) {
        failures_ << "unscripted dialog " + name + " \"" + dialog.windowTitle() + "\"";
        dialog.setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    Handler h = std::move(handlers_.front());
    handlers_.pop_front();
    // Show it (offscreen in tests) so show handlers run as they would.
    dialog.show();
    int result = h(dialog);
    // A handler that clicked the dialog's own buttons returns -1: its result stands.
    if (result < 0) result = dialog.result();
    dialog.hide();
    dialog.setResult(result);
    return result;
}

QString ScriptedDialogService::GetFile(const FileDialogRequest& request, QWidget*) {
    fileRequests_ << request;
    if (files_.empty()) {
        failures_ << "unscripted file dialog \"" + request.caption + "\"";
        return {};
    }
    QString path = files_.front();
    files_.pop_front();
    return path;
}

}  // namespace sw
