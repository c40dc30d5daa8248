#include "ScriptedMessageService.h"

namespace sw {

QString ToString(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error: return QStringLiteral("error");
    case MessageKind::Warning: return QStringLiteral("warning");
    case MessageKind::Information: return QStringLiteral("information");
    case MessageKind::Question: return QStringLiteral("question");
    }
    return {};
}

QString ToString(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return QStringLiteral("OK");
    case MessageButtons::OkCancel: return QStringLiteral("OK/Cancel");
    case MessageButtons::YesNo: return QStringLiteral("Yes/No");
    case MessageButtons::YesNoCancel: return QStringLiteral("Yes/No/Cancel");
    }
    return {};
}

QString ToString(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok: return QStringLiteral("OK");
    case MessageAnswer::Cancel: return QStringLiteral("Cancel");
    case MessageAnswer::Yes: return QStringLiteral("Yes");
    case MessageAnswer::No: return QStringLiteral("No");
    }
    return {};
}

MessageAnswer ScriptedMessageService::Show(const Message& message, QWidget*) {
    RecordedMessage rec{message, CancelMostAnswer(message.buttons), true};
    const QString what = QStringLiteral("%1 box (%2) \"%3\"")
                             .arg(ToString(message.kind), ToString(message.buttons), message.text);
    if (script_.empty()) {
        rec.scripted = false;
        failures_ << QStringLiteral("no scripted answer left for the %1").arg(what);
    } else {
        const MessageAnswer next = script_.front();
        script_.pop_front();
        if (IsOffered(message.buttons, next)) {
            rec.answer = next;
        } else {
            rec.scripted = false;
            failures_ << QStringLiteral("scripted answer %1 is not a button of the %2")
                             .arg(ToString(next), what);
        }
    }
    messages_ << rec;
    return rec.answer;
}

QStringList ScriptedMessageService::texts() const {
    QStringList out;
    for (const RecordedMessage& m : messages_) out << m.message.text;
    return out;
}

void ScriptedMessageService::clear() {
    script_.clear();
    messages_.clear();
    failures_.clear();
}

}  // namespace sw
