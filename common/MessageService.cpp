#include "MessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace sw {

MessageAnswer CancelMostAnswer(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel: return MessageAnswer::Cancel;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::Ok: break;
    }
    return MessageAnswer::Ok;
}

bool IsOffered(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
    case MessageButtons::Ok: return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo: return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel: return answer != MessageAnswer::Ok;
    }
    return false;
}

MessageAnswer QtMessageService::Show(const Message& m, QWidget* parent) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (m.kind) {
    case MessageKind::Error: icon = QMessageBox::Critical; break;
    case MessageKind::Warning: icon = QMessageBox::Warning; break;
    case MessageKind::Question: icon = QMessageBox::Question; break;
    case MessageKind::Information: icon = QMessageBox::Information; break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    switch (m.buttons) {
    case MessageButtons::Ok: break;
    case MessageButtons::OkCancel:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case MessageButtons::YesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case MessageButtons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    QMessageBox box(icon, m.caption, m.text, buttons, parent ? parent : QApplication::activeWindow());
    box.setEscapeButton(escape);
    switch (box.exec()) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return CancelMostAnswer(m.buttons);
    }
}

namespace {
MessageService* g_installed = nullptr;

MessageAnswer Ask(MessageKind kind, MessageButtons buttons, const QString& text, QWidget* parent) {
    return Messages().Show(Message{kind, MessageCaption(), text, buttons}, parent);
}
}  // namespace

MessageService& Messages() {
    static QtMessageService standard;
    return g_installed ? *g_installed : standard;
}

MessageService* SetMessageService(MessageService* service) {
    MessageService* previous = g_installed;
    g_installed = service;
    return previous;
}

QString MessageCaption() {
    return QGuiApplication::applicationDisplayName();
}

void ShowError(const QString& text, QWidget* parent) {
    Ask(MessageKind::Error, MessageButtons::Ok, text, parent);
}

void ShowWarning(const QString& text, QWidget* parent) {
    Ask(MessageKind::Warning, MessageButtons::Ok, text, parent);
}

void ShowInformation(const QString& text, QWidget* parent) {
    Ask(MessageKind::Information, MessageButtons::Ok, text, parent);
}

bool AskYesNo(const QString& text, QWidget* parent) {
    return Ask(MessageKind::Question, MessageButtons::YesNo, text, parent) == MessageAnswer::Yes;
}

MessageAnswer AskYesNoCancel(const QString& text, QWidget* parent) {
    return Ask(MessageKind::Question, MessageButtons::YesNoCancel, text, parent);
}

bool AskOkCancel(const QString& text, QWidget* parent) {
    return Ask(MessageKind::Question, MessageButtons::OkCancel, text, parent) == MessageAnswer::Ok;
}

}  // namespace sw
