#pragma once
// The check every scripted test ends with: no message or dialog went
// unanswered and every scripted answer was used.
#include <gtest/gtest.h>

#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"

inline void ExpectAllScriptsUsed(const sw::ScriptedMessageService& messages, const sw::ScriptedDialogService& dialogs) {
    EXPECT_FALSE(messages.scriptFailed()) << messages.failures().join("\n").toStdString();
    EXPECT_FALSE(dialogs.scriptFailed()) << dialogs.failures().join("\n").toStdString();
    EXPECT_EQ(messages.remaining(), 0);
    EXPECT_EQ(dialogs.remainingDialogs(), 0);
    EXPECT_EQ(dialogs.remainingFiles(), 0);
}
