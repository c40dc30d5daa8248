#pragma once
// A MessageService for tests: records every message and answers from a
// script. When the script is exhausted, or its next answer is not one of the
// box's buttons, the message is recorded as a script failure and answered
// with the box's cancel-most button, so the code under test goes on along its
// safest road and the test can assert that no failure happened.
#include "MessageService.h"

#include <QList>
#include <QStringList>
#include <deque>

namespace sw {

struct RecordedMessage {
    Message message;
    MessageAnswer answer = MessageAnswer::Ok;
    bool scripted = true;  // false when the script had no fitting answer
};

class ScriptedMessageService : public MessageService {
public:
    ScriptedMessageService() = default;
    explicit ScriptedMessageService(std::initializer_list<MessageAnswer> script)
        : script_(script) {}

    // Appends answers to the script.
    ScriptedMessageService& Then(MessageAnswer answer) {
        script_.push_back(answer);
        return *this;
    }

    MessageAnswer Show(const Message& message, QWidget* parent) override;

    const QList<RecordedMessage>& messages() const { return messages_; }
    QStringList texts() const;
    // Descriptions of the messages that had no fitting scripted answer.
    const QStringList& failures() const { return failures_; }
    bool scriptFailed() const { return !failures_.isEmpty(); }
    // Answers still waiting in the script.
    int remaining() const { return int(script_.size()); }
    void clear();

private:
    std::deque<MessageAnswer> script_;
    QList<RecordedMessage> messages_;
    QStringList failures_;
};

QString ToString(MessageKind kind);
QString ToString(MessageButtons buttons);
QString ToString(MessageAnswer answer);

}  // namespace sw
