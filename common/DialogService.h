#pragma once
// Every modal dialog and every file or folder dialog of both programs runs
// through one process-wide DialogService, as message boxes run through the
// MessageService. The default service places a dialog centred over its
// owner and runs it modally, and shows the platform's file dialogs; tests
// install a ScriptedDialogService that lets them work the real dialog's
// controls and answer without a modal loop.
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace sw {

struct FileDialogRequest {
    enum Kind { Open, Save, Folder } kind = Open;
    QString caption;
    QString directory;      // start folder
    QString fileName;       // preset file name (save dialogs)
    QString filter;         // Qt filter text ("Wave (*.wav);;...")
    QString defaultSuffix;  // without the dot, save dialogs
    bool confirmOverwrite = true;
    // Open only: several files may be chosen; GetFile returns them one per
    // line ('\n'), in the order the dialog gives them.
    bool multiSelect = false;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Runs an already filled dialog modally over `owner`; returns the
    // dialog's result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog& dialog, QWidget* owner) = 0;
    // Returns the chosen path, or an empty text on cancel.
    virtual QString GetFile(const FileDialogRequest& request, QWidget* owner) = 0;
};

// The Qt implementation: ExecCentred and QFileDialog.
class QtDialogService : public DialogService {
public:
    int Exec(QDialog& dialog, QWidget* owner) override;
    QString GetFile(const FileDialogRequest& request, QWidget* owner) override;
};

DialogService& Dialogs();
// Installs a service (nullptr restores the default); returns the previous one.
DialogService* SetDialogService(DialogService* service);

class ScopedDialogService {
public:
    explicit ScopedDialogService(DialogService& service) : previous_(SetDialogService(&service)) {}
    ~ScopedDialogService() { SetDialogService(previous_); }
    ScopedDialogService(const ScopedDialogService&) = delete;
    ScopedDialogService& operator=(const ScopedDialogService&) = delete;
private:
    DialogService* previous_;
};

// Shorthand for Dialogs().Exec(dialog, owner).
int ExecDialog(QDialog& dialog, QWidget* owner);

// Converts a filter in the "Caption|*.a;*.b|Caption|*.c" form into Qt's
// "Caption (*.a *.b);;Caption (*.c)" form. A caption that already names its
// patterns in parentheses keeps them.
QString QtFilterFromPipes(const QString& pipes);

}  // namespace sw
