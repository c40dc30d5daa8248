// The selection, editing and positioning commands on the real engine, with
// the real dialogs run through the scripted dialog service; and the main
// window's time fields, context menu and held transport buttons.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <vector>

#include "Document.h"
#include "EditCommands.h"
#include "EditForms.h"
#include "GlobalVars.h"
#include "MainForm.h"
#include "RecentFiles.h"
#include "ScriptChecks.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "TestSupport.h"
#include "editor/TAudioEditor2.h"

namespace {

using sw::MessageAnswer;
using sw::SampleCount;
constexpr SampleCount kSecond = 44100;

// The test signal: a distinct value for every position, negated on the
// second channel.
float Ramp(int ch, SampleCount pos) {
    const float v = float(pos + 1) / float(8 * kSecond);
    return ch == 0 ? v : -v;
}

class EditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        vars.Reset(dir.path() + "/", dir.path() + "/");
        identity = IdentityFor(DefaultDisplayName());
        doc = std::make_unique<TDocument>(editor, vars, recent, identity, nullptr);
        commands = std::make_unique<TEditCommands>(editor, *doc, vars, nullptr);
        doc->hooks.modifiedPanel = [this](const QString&) { commands->ModifiedChanged(doc->Modified()); };
        doc->hooks.stopTransport = [this] { ++stops; };
        commands->hooks.stopTransport = [this] { ++stops; };
        commands->hooks.play = [this] { ++plays; };
    }

    // A new stereo document of `seconds` holding the ramp, counted as saved.
    void MakeDocument(double seconds = 2.0) {
        doc->SetModified(false);   // a fresh document without asking
        ASSERT_TRUE(doc->CreateDocument("Untitled", 44100, 2));
        editor.Transform().InsertSilence(seconds * 1000);
        editor.Transform().ApplyInPlace([](int ch, float* s, SampleCount frames, SampleCount offset) {
            for (SampleCount i = 0; i < frames; ++i) s[i] = Ramp(ch, offset + i);
        });
        doc->SetModified(false);
        editor.Position().SetHasSelection(false);
        editor.Position().SetCurrentPosition(0);
    }

    void Select(SampleCount a, SampleCount b) {
        auto& p = editor.Position();
        p.SetHasSelection(true);
        p.SetSelStart(a);
        p.SetSelEnd(b);
    }

    std::vector<float> Read(int ch, SampleCount pos, SampleCount count) {
        std::vector<float> out(static_cast<std::size_t>(count));
        EXPECT_EQ(editor.ReadChannel(ch, pos, count, out.data()), count);
        return out;
    }

    // Frames [pos, pos+count) of both channels hold the ramp from `from`.
    void ExpectRamp(SampleCount pos, SampleCount count, SampleCount from) {
        for (int ch = 0; ch < 2; ++ch) {
            const std::vector<float> got = Read(ch, pos, count);
            for (SampleCount i = 0; i < count; ++i)
                if (got[std::size_t(i)] != Ramp(ch, from + i)) {
                    ADD_FAILURE() << "channel " << ch << " frame " << pos + i << ": " << got[std::size_t(i)]
                                  << " instead of the ramp at " << from + i;
                    return;
                }
        }
    }

    void ExpectSilence(SampleCount pos, SampleCount count) {
        for (int ch = 0; ch < 2; ++ch)
            for (float v : Read(ch, pos, count))
                if (v != 0.0f) {
                    ADD_FAILURE() << "no silence at " << pos << ".." << pos + count;
                    return;
                }
    }

    SampleCount Length() { return editor.Position().Length(); }

    void ExpectScriptsUsed() { ExpectAllScriptsUsed(messages, dialogs); }

    QTemporaryDir dir;
    sw::TAudioEditor2 editor;
    TGlobalVars vars;
    RecentFiles recent;
    ProductIdentity identity;
    std::unique_ptr<TDocument> doc;
    std::unique_ptr<TEditCommands> commands;
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
    int stops = 0, plays = 0;
};

TEST_F(EditingTest, RepeatInsertsCopiesOneSelectionLengthApartAsOneUndoStep) {
    MakeDocument(2.0);
    vars.OP_PlayAfterEdit = true;
    Select(0, kSecond);
    dialogs.ThenDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Repeat Loop");
        d.findChild<QLineEdit*>("EditRepeatTimes")->setText("3");
        return int(QDialog::Accepted);
    });
    commands->Repeat();
    ASSERT_EQ(Length(), 5 * kSecond);
    ExpectRamp(0, kSecond, 0);
    for (int k = 1; k <= 3; ++k) ExpectRamp(k * kSecond, kSecond, 0);
    ExpectRamp(4 * kSecond, kSecond, kSecond);
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(plays, 1);
    commands->Undo();
    EXPECT_EQ(Length(), 2 * kSecond);
    ExpectRamp(0, 2 * kSecond, 0);
    ExpectScriptsUsed();
}

TEST_F(EditingTest, RepeatWithoutSelectionRepeatsTheWholeDocumentAndZeroDoesNothing) {
    MakeDocument(1.0);
    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditRepeatTimes")->setText("1");
        return int(QDialog::Accepted);
    });
    commands->Repeat();
    ASSERT_EQ(Length(), 2 * kSecond);
    ExpectRamp(kSecond, kSecond, 0);

    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditRepeatTimes")->setText("0");
        return int(QDialog::Accepted);
    });
    commands->Repeat();
    EXPECT_EQ(Length(), 2 * kSecond);

    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditRepeatTimes")->setText("");
        return int(QDialog::Accepted);
    });
    EXPECT_THROW(commands->Repeat(), std::runtime_error);
    EXPECT_EQ(Length(), 2 * kSecond);
    ExpectScriptsUsed();
}

TEST_F(EditingTest, CropKeepsExactlyTheSelection) {
    MakeDocument(2.0);
    vars.OP_PlayAfterEdit = true;
    Select(kSecond / 2, kSecond + kSecond / 4);
    commands->Crop();
    ASSERT_EQ(Length(), kSecond * 3 / 4);
    ExpectRamp(0, Length(), kSecond / 2);
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(plays, 0);   // no play after a crop
    commands->Undo();
    EXPECT_EQ(Length(), 2 * kSecond);
    ExpectRamp(0, 2 * kSecond, 0);
}

TEST_F(EditingTest, CropWithoutSelectionReportsAndChangesNothing) {
    MakeDocument(1.0);
    messages.Then(MessageAnswer::Ok);
    commands->Crop();
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].message.text, "You must select an audio part before this operstion.");
    EXPECT_EQ(messages.messages()[0].message.kind, sw::MessageKind::Error);
    EXPECT_EQ(Length(), kSecond);
    EXPECT_FALSE(doc->Modified());
    ExpectScriptsUsed();
}

TEST_F(EditingTest, PasteMixWithInsertSilencePadsTheSelectionFirst) {
    MakeDocument(2.0);
    Select(0, kSecond);
    commands->Copy();
    EXPECT_TRUE(commands->Clip());
    EXPECT_EQ(commands->ClippedLength(), kSecond);
    EXPECT_FALSE(doc->Modified());

    const SampleCount s = kSecond * 3 / 2, e = s + kSecond / 4;
    Select(s, e);
    dialogs.ThenDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Paste Mix");
        d.findChild<QRadioButton*>("RadioButtonInsertSilence")->setChecked(true);
        return int(QDialog::Accepted);
    });
    commands->PasteMix();
    EXPECT_FALSE(vars.IncreaseSelection);
    ASSERT_EQ(Length(), 2 * kSecond + kSecond * 3 / 4);
    EXPECT_EQ(editor.Position().SelStart(), s);
    EXPECT_EQ(editor.Position().SelEnd(), s + kSecond);
    // Inside the old selection: document plus clip; then the padding holds
    // the clip alone; after it the rest of the document.
    for (int ch = 0; ch < 2; ++ch) {
        const std::vector<float> got = Read(ch, s, kSecond);
        for (SampleCount i = 0; i < kSecond; i += 997) {
            const float expected = i < e - s ? Ramp(ch, s + i) + Ramp(ch, i) : Ramp(ch, i);
            EXPECT_NEAR(got[std::size_t(i)], expected, 1e-6) << ch << " " << i;
        }
    }
    ExpectRamp(s + kSecond, 2 * kSecond - e, e);
    EXPECT_TRUE(doc->Modified());

    // Two steps: the mix, then the padding.
    commands->Undo();
    EXPECT_EQ(Length(), 2 * kSecond + kSecond * 3 / 4);
    ExpectRamp(0, e, 0);
    ExpectSilence(e, kSecond * 3 / 4);
    commands->Undo();
    EXPECT_EQ(Length(), 2 * kSecond);
    ExpectRamp(0, 2 * kSecond, 0);
    ExpectScriptsUsed();
}

TEST_F(EditingTest, PasteMixLevelsAreStoredAndIncreaseKeepsTheLength) {
    MakeDocument(2.0);
    Select(0, kSecond);
    commands->Copy();
    Select(kSecond, kSecond + kSecond / 4);
    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditSelectPart")->setText("50");
        d.findChild<QLineEdit*>("EditAudioInBuffer")->setText("0");
        return int(QDialog::Accepted);
    });
    commands->PasteMix();
    EXPECT_EQ(vars.SelectePartPercent, 50);
    EXPECT_EQ(vars.AudioInBufferPercent, 0);
    EXPECT_TRUE(vars.IncreaseSelection);
    EXPECT_EQ(Length(), 2 * kSecond);
    EXPECT_NEAR(Read(0, kSecond + 10, 1)[0], Ramp(0, kSecond + 10) * 0.5f, 1e-6);
    ExpectScriptsUsed();
}

TEST_F(EditingTest, MixFilePadsToTheFilesLengthAndStoresTheChoices) {
    MakeDocument(1.0);
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(swtest::MakeTone(tone, 1.0, 44100, 2));
    vars.LastOpenDir = "/nowhere/";
    dialogs.ThenFile("");   // Cancel: nothing happens
    commands->MixFile();
    EXPECT_EQ(Length(), kSecond);

    const SampleCount s = kSecond / 4, e = kSecond / 2;
    Select(s, e);
    dialogs.ThenFile(tone);
    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditSelectPart")->setText("0");
        d.findChild<QRadioButton*>("RadioButtonInsertSilence")->setChecked(true);
        return int(QDialog::Accepted);
    });
    commands->MixFile();
    EXPECT_EQ(vars.LastOpenDir, QDir::toNativeSeparators(dir.path()) + "/");
    EXPECT_EQ(vars.SelectePartPercent, 0);
    EXPECT_FALSE(vars.IncreaseSelection);
    ASSERT_EQ(Length(), kSecond + kSecond * 3 / 4);
    EXPECT_EQ(editor.Position().SelStart(), s);
    EXPECT_EQ(editor.Position().SelEnd(), s + kSecond);
    ExpectRamp(0, s, 0);
    ExpectRamp(s + kSecond, kSecond - e, e);
    // The selection holds the tone alone (the document part at 0 %).
    float peak = 0;
    for (float v : Read(0, s, kSecond)) peak = std::max(peak, std::abs(v));
    EXPECT_GT(peak, 0.05f);
    ASSERT_EQ(dialogs.fileRequests().size(), 2);
    EXPECT_EQ(dialogs.fileRequests()[0].directory, "/nowhere/");
    ExpectScriptsUsed();
}

TEST_F(EditingTest, SelectToStartAndEndStayInsideTheDocument) {
    MakeDocument(2.0);
    const SampleCount L = 2 * kSecond;
    const struct { bool toEnd; SampleCount s, e, p, newStart, newEnd; } cases[] = {
        {false, 1000, 3000, 1000, 0, 3000},
        {true, 1000, 3000, 1000, 3000, L},
        {false, 10000, 60000, 50000, 0, L},      // e - s + p lies past the end
        {true, 22050, 44100, 80000, L, L},
        {true, 0, 0, 500, 500, L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.toEnd << " " << c.s << " " << c.e << " " << c.p);
        Select(c.s, c.e);
        editor.Position().SetCurrentPosition(c.p);
        if (c.e == c.s) editor.Position().SetHasSelection(false), editor.Position().SetCurrentPosition(c.p);
        c.toEnd ? commands->SelectToEnd() : commands->SelectToStart();
        EXPECT_TRUE(editor.Position().HasSelection());
        EXPECT_EQ(editor.Position().SelStart(), c.newStart);
        EXPECT_EQ(editor.Position().SelEnd(), c.newEnd);
    }
}

TEST_F(EditingTest, TrimsSilenceAndDelete) {
    MakeDocument(2.0);
    Select(kSecond / 2, kSecond / 2);
    editor.Position().SetHasSelection(false);
    editor.Position().SetCurrentPosition(kSecond / 2);
    commands->TrimStart();
    EXPECT_EQ(Length(), kSecond * 3 / 2);
    ExpectRamp(0, Length(), kSecond / 2);
    editor.Position().SetHasSelection(false);
    editor.Position().SetCurrentPosition(kSecond);
    commands->TrimEnd();
    EXPECT_EQ(Length(), kSecond);
    ExpectRamp(0, kSecond, kSecond / 2);
    Select(100, 200);
    commands->SilenceSel();
    ExpectSilence(100, 100);
    ExpectRamp(200, 100, kSecond / 2 + 200);
    Select(0, 100);
    commands->Delete();
    EXPECT_EQ(Length(), kSecond - 100);
    EXPECT_TRUE(doc->Modified());
}

TEST_F(EditingTest, InsertSilenceAtBeginCursorAndEnd) {
    const struct { TEditCommands::Where where; SampleCount at; } cases[] = {
        {TEditCommands::Where::Begin, 0},
        {TEditCommands::Where::Current, kSecond / 2},
        {TEditCommands::Where::End, 2 * kSecond},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        MakeDocument(2.0);
        Select(kSecond / 2, kSecond);
        dialogs.ThenDialog([](QDialog& d) {
            EXPECT_EQ(d.findChild<QLineEdit*>("EditSilenceTime")->text(), "100");
            d.findChild<QLineEdit*>("EditSilenceTime")->setText("250");
            return int(QDialog::Accepted);
        });
        commands->InsertSilence(c.where);
        EXPECT_EQ(vars.InsertSilenceTime, 250);
        ASSERT_EQ(Length(), 2 * kSecond + kSecond / 4);
        ExpectRamp(0, c.at, 0);
        ExpectSilence(c.at, kSecond / 4);
        ExpectRamp(c.at + kSecond / 4, 2 * kSecond - c.at, c.at);
        EXPECT_TRUE(doc->Modified());
        vars.InsertSilenceTime = 100;
    }
    ExpectScriptsUsed();
}

TEST_F(EditingTest, InsertSilenceOfZeroOrNothing) {
    MakeDocument(1.0);
    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditSilenceTime")->setText("0");
        return int(QDialog::Accepted);
    });
    commands->InsertSilence(TEditCommands::Where::Begin);
    EXPECT_EQ(vars.InsertSilenceTime, 0);
    EXPECT_EQ(Length(), kSecond);
    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditSilenceTime")->setText("");
        return int(QDialog::Accepted);
    });
    try {
        commands->InsertSilence(TEditCommands::Where::Begin);
        ADD_FAILURE() << "no conversion error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
    EXPECT_EQ(Length(), kSecond);
    EXPECT_FALSE(doc->Modified());
    ExpectScriptsUsed();
}

TEST_F(EditingTest, UndoAndRedoFollowTheSavedState) {
    MakeDocument(1.0);
    Select(0, 1000);
    commands->Delete();
    ASSERT_TRUE(doc->Modified());
    dialogs.ThenFile(dir.filePath("saved.wav")).ThenAccept();
    ASSERT_TRUE(doc->SaveDocument(false, false));
    EXPECT_FALSE(doc->Modified());

    commands->Undo();   // differs from the file now
    EXPECT_TRUE(doc->Modified());
    commands->Redo();   // back at the saved state
    EXPECT_FALSE(doc->Modified());
    commands->Undo();
    EXPECT_TRUE(doc->Modified());

    // Close asks before discarding the undone state.
    messages.Then(MessageAnswer::Cancel);
    doc->CloseFile();
    EXPECT_TRUE(doc->IsOpen());
    ASSERT_EQ(messages.messages().size(), 1);

    // A change outside the undo history (the tags) leaves no saved state.
    commands->Redo();
    EXPECT_FALSE(doc->Modified());
    doc->SetModified(true);
    Select(0, 10);
    commands->Delete();
    commands->Undo();
    EXPECT_TRUE(doc->Modified());

    // Likewise when the tags change after an edit.
    dialogs.ThenFile(dir.filePath("again.wav")).ThenAccept();
    ASSERT_TRUE(doc->SaveDocument(true, false));
    Select(0, 10);
    commands->Delete();
    doc->SetModified(true);
    commands->Undo();
    EXPECT_TRUE(doc->Modified());
    commands->Redo();
    EXPECT_TRUE(doc->Modified());
    ExpectScriptsUsed();
}

TEST_F(EditingTest, TypedTimesMoveTheSelection) {
    ASSERT_TRUE(doc->CreateDocument("Untitled", 44100, 2));
    editor.Transform().InsertSilence(60000);
    const struct { TimeField field; const char* text; bool accepted; SampleCount start, end; bool hasSel; } cases[] = {
        {TimeField::Start, "90", true, 60 * kSecond, 60 * kSecond, false},
        {TimeField::Start, "0:15", true, 15 * kSecond, 20 * kSecond, true},
        {TimeField::Start, "0:25", true, 25 * kSecond, 25 * kSecond, false},
        {TimeField::Start, "0:05", true, 5 * kSecond, 20 * kSecond, true},
        {TimeField::End, "70", true, 10 * kSecond, 60 * kSecond, true},
        {TimeField::Length, "2.5", true, 10 * kSecond, 529421, true},   // 12005 ms, rounded
        {TimeField::Start, "a:1", false, 10 * kSecond, 20 * kSecond, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Select(10 * kSecond, 20 * kSecond);
        EXPECT_EQ(commands->ApplyTimeField(c.field, c.text), c.accepted);
        EXPECT_EQ(editor.Position().SelStart(), c.start);
        EXPECT_EQ(editor.Position().SelEnd(), c.end);
        EXPECT_EQ(editor.Position().HasSelection(), c.hasSel);
    }
    // Five seconds of length from 58 s in a 60 s document end at 60 s.
    Select(58 * kSecond, 59 * kSecond);
    EXPECT_TRUE(commands->ApplyTimeField(TimeField::Length, "5"));
    EXPECT_EQ(editor.Position().SelEnd(), 60 * kSecond);
    EXPECT_EQ(commands->SelEndMs() - commands->SelStartMs(), 2000);
}

TEST_F(EditingTest, SelectSpecifiedTimeSetsTheDialogsSelection) {
    MakeDocument(2.0);
    Select(kSecond / 2, kSecond);
    dialogs.ThenDialog([](QDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("EditStart")->text(), "0:00:00.500");
        EXPECT_EQ(d.findChild<QLineEdit*>("EditLength")->text(), "0:00:00.500");
        auto& f = static_cast<TSelectSpecifiedTimeForm&>(d);
        f.FieldEnter(f.EditEnd);
        f.EditEnd->setText("1.5");   // 1005 ms
        f.FieldExit(f.EditEnd);
        return int(QDialog::Accepted);
    });
    commands->SelectSpecifiedTime();
    EXPECT_EQ(editor.Position().SelStart(), kSecond / 2);
    EXPECT_EQ(editor.Position().SelEnd(), editor.Position().MsToSamples(1005));
    ExpectScriptsUsed();
}

TEST_F(EditingTest, ChannelScope) {
    MakeDocument(1.0);
    auto enabled = [&](int ch) {
        editor.Channel().SelectChannel(ch);
        return editor.Channel().ChannelEnabled();
    };
    commands->LeftChannel();
    EXPECT_TRUE(enabled(1));
    EXPECT_FALSE(enabled(2));
    Select(0, 100);
    commands->SilenceSel();
    ExpectRamp(0, 0, 0);
    EXPECT_EQ(Read(0, 10, 1)[0], 0.0f);
    EXPECT_EQ(Read(1, 10, 1)[0], Ramp(1, 10));
    commands->RightChannel();
    EXPECT_FALSE(enabled(1));
    EXPECT_TRUE(enabled(2));
    commands->BothChannels();
    EXPECT_TRUE(enabled(1));
    EXPECT_TRUE(enabled(2));
    EXPECT_EQ(stops, 1);   // only the silence stopped the transport
}

TEST_F(EditingTest, StepsClampAndTheViewFollowsTheCursor) {
    MakeDocument(2.0);
    const SampleCount L = Length();
    auto& p = editor.Position();
    const struct { bool forward; SampleCount from, to; } steps[] = {
        {false, 1500, 0}, {false, 5000, 3000}, {false, 2000, 0},
        {true, L - 100, L}, {true, 0, 2000}, {true, L - 2000, L},
    };
    for (const auto& s : steps) {
        Select(s.from, s.from + 10);
        p.SetCurrentPosition(s.from);
        s.forward ? commands->ForwardStep() : commands->RewindStep();
        EXPECT_FALSE(p.HasSelection());
        EXPECT_EQ(p.CurrentPosition(), s.to) << s.forward << " " << s.from;
    }

    int refreshes = 0;
    commands->hooks.refresh = [&] { ++refreshes; };
    const struct { SampleCount viewStart, viewEnd, cursor, newStart, newEnd; } views[] = {
        {10000, 20000, 15000, 10000, 20000},   // visible: nothing
        {10000, 20000, 30000, 30000, 40000},   // right: cursor at the left edge
        {50000, 60000, 45000, 35000, 45000},   // left: cursor at the right edge
        {50000, 60000, 5000, 0, 10000},
        {10000, 20000, L - 10, L - 10000, L},
    };
    for (const auto& v : views) {
        p.SetViewEnd(v.viewEnd);
        p.SetViewStart(v.viewStart);
        p.SetHasSelection(false);
        p.SetCurrentPosition(v.cursor);
        commands->EnsureCursorVisible();
        EXPECT_EQ(p.ViewStart(), v.newStart) << v.cursor;
        EXPECT_EQ(p.ViewEnd(), v.newEnd) << v.cursor;
    }
    EXPECT_EQ(refreshes, 4);

    p.SetViewEnd(30000);
    p.SetViewStart(20000);
    commands->GoToEnd();
    EXPECT_EQ(p.CurrentPosition(), L);
    EXPECT_EQ(p.ViewEnd(), L);
    EXPECT_EQ(p.ViewStart(), L - 10000);
    commands->GoToStart();
    EXPECT_EQ(p.CurrentPosition(), 0);
    EXPECT_EQ(p.ViewStart(), 0);
    EXPECT_EQ(p.ViewEnd(), 10000);
}

// ---- In the main window -----------------------------------------------------

class MainWindowEditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        for (const char* d : {"config", "Music", "cache"}) QDir(home.path()).mkpath(d);
        TMainFormOptions o;
        o.exeDir = swtest::BinaryDir() + "/bin/soundwright";
        o.env.home = home.path();
        o.env.xdgConfigHome = home.path() + "/config";
        o.env.xdgCacheHome = home.path() + "/cache";
        o.env.musicLocation = home.path() + "/Music";
        o.env.userName = "tester";
        o.identity = IdentityFor(DefaultDisplayName());
        o.postAfterShow = false;
        form = std::make_unique<TMainForm>(o);
        ASSERT_TRUE(form->Document().CreateDocument("Untitled", 44100, 2));
        form->Editor().Transform().InsertSilence(60000);
    }
    template <class T> T* Find(const char* name) { return form->findChild<T*>(name); }
    void Select(SampleCount a, SampleCount b) {
        auto& p = form->Editor().Position();
        p.SetHasSelection(true);
        p.SetSelStart(a);
        p.SetSelEnd(b);
    }
    void Click(QWidget* w) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    }
    void Enter(QWidget* w) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(w, &key);
    }

    QTemporaryDir home;
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainWindowEditingTest, TypingNinetyInTheStartFieldGivesAnEmptySelectionAtTheEnd) {
    Select(10 * kSecond, 20 * kSecond);
    auto* label = Find<QLabel>("LabelStart");
    auto* edit = Find<QLineEdit>("EditStart");
    EXPECT_EQ(label->text(), "0:00:10.000");
    EXPECT_EQ(Find<QLabel>("LabelSelLength")->text(), "0:00:10.000");
    EXPECT_EQ(Find<QLabel>("LabelFileLength")->text(), "0:01:00.000");
    EXPECT_EQ(Find<QLabel>("LabelSeletionSample")->text(), QString::number(10 * kSecond));
    EXPECT_TRUE(edit->isHidden());
    Click(label);
    EXPECT_FALSE(edit->isHidden());
    EXPECT_EQ(edit->text(), "0:00:10.000");
    edit->setText("90");
    Enter(edit);
    EXPECT_TRUE(edit->isHidden());
    auto& p = form->Editor().Position();
    EXPECT_FALSE(p.HasSelection());
    EXPECT_EQ(p.SelStart(), 60 * kSecond);
    EXPECT_EQ(p.SelEnd(), 60 * kSecond);
    EXPECT_EQ(label->text(), "0:01:00.000");
    EXPECT_EQ(Find<QLabel>("LabelTime")->text(), "0:01:00.000");

    // A text no rule reads leaves the selection.
    Select(10 * kSecond, 20 * kSecond);
    auto* end = Find<QLineEdit>("EditEnd");
    Click(Find<QLabel>("LabelEnd"));
    end->setText("1.2.3");
    Enter(end);
    EXPECT_EQ(p.SelEnd(), 20 * kSecond);
    EXPECT_EQ(end->text(), "0:00:20.000");
}

TEST_F(MainWindowEditingTest, CommandsAreEnabledAndTheContextMenuHasItsItems) {
    Select(10 * kSecond, 20 * kSecond);
    form->UpdateCommandStates();
    for (const char* n : {"ActionCut", "ActionCopy", "ActionDelete", "ActionCrop", "ActionRepeat", "ActionSilenceSel",
                          "ActionSelectToStart", "ActionTrimStart", "ActionInsertSilenceEnd", "ActionGoToStart",
                          "ActionRewind", "ActionLeftChannel", "ActionOptions", "ActionSelectSpecifiedTime"})
        EXPECT_TRUE(form->Action(n)->isEnabled()) << n;
    EXPECT_FALSE(form->Action("ActionPaste")->isEnabled());
    form->Action("ActionCopy")->trigger();
    form->UpdateCommandStates();
    EXPECT_TRUE(form->Action("ActionPaste")->isEnabled());
    EXPECT_TRUE(form->Action("ActionPasteMix")->isEnabled());

    auto* menu = Find<QMenu>("PopupMenuMain");
    ASSERT_TRUE(menu);
    QStringList names;
    for (QAction* a : menu->actions()) names << (a->isSeparator() ? "-" : a->objectName());
    EXPECT_EQ(names, QStringList({"ActionUndo", "-", "ActionCut", "ActionCopy", "ActionPaste", "ActionDelete", "-",
                                  "ActionSelectToStart", "ActionSelectToEnd", "ActionSelectSpecifiedTime",
                                  "ActionSelectAll", "-", "ActionCrop", "ActionTrimStart", "ActionTrimEnd", "-",
                                  "ActionSilenceSel", "ActionSaveSelectionAs", "-", "ActionSetBookmark",
                                  "ActionAddRegion"}));
    // The last update did not change the selection length.
    form->UpdateSelectionDisplay();
    EXPECT_FALSE(form->SelectionChanged());
    Select(0, 5);
    EXPECT_TRUE(form->SelectionChanged());
}

TEST_F(MainWindowEditingTest, MetersAndClockFollowTheEngineEvents) {
    auto* left = Find<QProgressBar>("LeftBar");
    auto* right = Find<QProgressBar>("RightBar");
    EXPECT_EQ(left->value(), 0);
    form->Editor().OnMeter(40, 75);
    EXPECT_EQ(left->value(), 40);
    EXPECT_EQ(right->value(), 75);
    form->Editor().OnEndPlay();
    EXPECT_EQ(left->value(), 0);
    EXPECT_EQ(right->value(), 0);
    form->Editor().Position().SetHasSelection(false);
    form->Editor().Position().SetCurrentPosition(3 * kSecond + 441);
    form->Editor().OnChangePlayPosition(3 * kSecond + 441);
    EXPECT_EQ(Find<QLabel>("LabelStart")->text(), "0:00:03.010");
    EXPECT_EQ(Find<QLabel>("LabelTime")->text(), "0:00:03.010");
    form->FitClock(QSize(4000, 40));
    EXPECT_EQ(Find<QLabel>("LabelTime")->font().pointSize(),
              FitClockFontSize(Find<QLabel>("LabelTime")->font(), "0:00:03.010", QSize(4000, 40)));
}

TEST_F(MainWindowEditingTest, HeldRewindButtonRunsItsTimer) {
    auto& p = form->Editor().Position();
    p.SetHasSelection(false);
    p.SetCurrentPosition(30 * kSecond);
    p.SetViewEnd(30 * kSecond);
    p.SetViewStart(29 * kSecond);
    auto* timer = form->findChild<QTimer*>("TimerRewind");
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->interval(), 10);
    form->ButtonRewindMouseDown();
    EXPECT_TRUE(timer->isActive());
    for (int i = 0; i < 100; ++i) form->TimerRewindTimer();
    form->ButtonRewindMouseUp();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(p.CurrentPosition(), 30 * kSecond - 100 * 2000);
    // The view moved a width at a time and shows the cursor.
    EXPECT_LE(p.ViewStart(), p.CurrentPosition());
    EXPECT_GE(p.ViewEnd(), p.CurrentPosition());
    EXPECT_EQ(p.ViewEnd() - p.ViewStart(), kSecond);

    auto* forward = form->findChild<QTimer*>("TimerForword");
    form->ButtonForwordMouseDown();
    EXPECT_TRUE(forward->isActive());
    form->TimerForwordTimer();
    form->ButtonForwordMouseUp();
    EXPECT_FALSE(forward->isActive());
    EXPECT_EQ(p.CurrentPosition(), 30 * kSecond - 99 * 2000);
}

}  // namespace
