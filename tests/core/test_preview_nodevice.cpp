// Without a sound server the preview and the transport say so and nothing
// plays. PULSE_SERVER points at a socket that does not exist, set before
// anything touches Qt Multimedia.
#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>

#include "Document.h"
#include "MainForm.h"
#include "PrivateMainForm.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "editor/TAudioEditor2.h"
#include "playback/TAudioPlayer2.h"

namespace {

const bool kServerMissing = [] {
    qputenv("PULSE_SERVER", "unix:/nonexistent-sw-test/pulse/native");
    return true;
}();

TEST(PreviewWithoutDevice, ReportsTheDeviceAndPlaysNothing) {
    ASSERT_TRUE(kServerMissing);
    QTemporaryDir home;
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages(messages);
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs(dialogs);
    TMainForm form(PrivateMainFormOptions(home));
    ASSERT_TRUE(form.Document().CreateDocument("Untitled", 44100, 2));
    form.Editor().Transform().InsertSilence(1000);
    form.Editor().Position().SetHasSelection(true);
    form.Editor().Position().SetSelEnd(22050);

    int calls = 0;
    EXPECT_FALSE(form.StartPreview([&](const sw::PlanarBuffer& in) {
        ++calls;
        return std::optional<sw::PlanarBuffer>(in);
    }));
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(form.PreviewActive());
    ASSERT_EQ(messages.messages().size(), 1);
    const sw::Message& m = messages.messages()[0].message;
    EXPECT_EQ(m.text, "Starting audio device error.");
    EXPECT_EQ(m.kind, sw::MessageKind::Error);
    EXPECT_EQ(m.caption, sw::MessageCaption());   // the display name, set at start

    // Play says why it cannot, and the window stays usable.
    messages.clear();
    form.UpdateCommandStates();
    form.Action("ActionPlay")->trigger();
    EXPECT_EQ(form.Editor().PlayState(), 0);
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].message.kind, sw::MessageKind::Error);
    EXPECT_TRUE(form.isEnabled());
}

}  // namespace
