#pragma once
// Every message box of both programs goes through one process-wide
// MessageService. The default one shows a QMessageBox with the application's
// display name as caption and the icon of the kind; tests install a
// ScriptedMessageService instead.
#include <QString>

class QWidget;

namespace sw {

enum class MessageKind { Error, Warning, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    MessageKind kind = MessageKind::Information;
    QString caption;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    bool operator==(const Message&) const = default;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows the message modally over `parent` (the active window when null)
    // and returns the button the user chose. Closing the box without a
    // choice gives CancelMostAnswer(buttons).
    virtual MessageAnswer Show(const Message& message, QWidget* parent) = 0;
};

// The answer that does the least: Cancel, else No, else Ok.
MessageAnswer CancelMostAnswer(MessageButtons buttons);
bool IsOffered(MessageButtons buttons, MessageAnswer answer);

// The QMessageBox implementation.
class QtMessageService : public MessageService {
public:
    MessageAnswer Show(const Message& message, QWidget* parent) override;
};

// The service in use (a QtMessageService until another is installed).
MessageService& Messages();
// Installs a service (nullptr restores the default); returns the previous
// one. The caller keeps ownership.
MessageService* SetMessageService(MessageService* service);

// Installs a service for the lifetime of the object.
class ScopedMessageService {
public:
    explicit ScopedMessageService(MessageService& service)
        : previous_(SetMessageService(&service)) {}
    ~ScopedMessageService() { SetMessageService(previous_); }
    ScopedMessageService(const ScopedMessageService&) = delete;
    ScopedMessageService& operator=(const ScopedMessageService&) = delete;

private:
    MessageService* previous_;
};

// The caption of every box: QGuiApplication::applicationDisplayName().
QString MessageCaption();

void ShowError(const QString& text, QWidget* parent = nullptr);
void ShowWarning(const QString& text, QWidget* parent = nullptr);
void ShowInformation(const QString& text, QWidget* parent = nullptr);
// Question icon; true on Yes.
bool AskYesNo(const QString& text, QWidget* parent = nullptr);
// Question icon; Yes, No or Cancel.
MessageAnswer AskYesNoCancel(const QString& text, QWidget* parent = nullptr);
// Question icon; true on OK.
bool AskOkCancel(const QString& text, QWidget* parent = nullptr);

}  // namespace sw
