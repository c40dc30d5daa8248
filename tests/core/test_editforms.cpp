// The small dialogs of the editing commands, worked through their controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QValidator>

#include "EditForms.h"
#include "GlobalVars.h"
#include "RecentFiles.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "TimeText.h"

namespace {

using sw::MessageAnswer;

class EditFormsTest : public ::testing::Test {
protected:
    void ExpectScriptsUsed() {
        EXPECT_FALSE(messages.scriptFailed()) << messages.failures().join("\n").toStdString();
        EXPECT_FALSE(dialogs.scriptFailed()) << dialogs.failures().join("\n").toStdString();
        EXPECT_EQ(messages.remaining(), 0);
        EXPECT_EQ(dialogs.remainingDialogs(), 0);
        EXPECT_EQ(dialogs.remainingFiles(), 0);
    }
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
};

bool Accepts(QLineEdit* e, const QString& text) {
    QString t = text;
    int pos = 0;
    return e->validator() && e->validator()->validate(t, pos) != QValidator::Invalid;
}

TEST_F(EditFormsTest, NumberFieldsTakeDigitsOnlyWithTheirLengths) {
    TInsertSilenceForm silence;
    TRepeatLoopForm repeat;
    TPasteMixForm mix;
    const struct { QLineEdit* edit; int maxLength; const char* initial; } cases[] = {
        {silence.EditSilenceTime, 6, "0"},
        {repeat.EditRepeatTimes, 1, "1"},
        {mix.EditSelectPart, 3, "100"},
        {mix.EditAudioInBuffer, 3, "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edit->objectName().toStdString());
        EXPECT_EQ(c.edit->maxLength(), c.maxLength);
        EXPECT_EQ(c.edit->text(), c.initial);
        EXPECT_TRUE(Accepts(c.edit, "12"));
        EXPECT_FALSE(Accepts(c.edit, "1a"));
        EXPECT_FALSE(Accepts(c.edit, "-1"));
    }
    EXPECT_EQ(silence.windowTitle(), "Insert Silence");
    EXPECT_EQ(repeat.windowTitle(), "Repeat Loop");
    EXPECT_EQ(mix.windowTitle(), "Paste Mix");
    EXPECT_TRUE(mix.RadioButtonIncreaseSelection->isChecked());
    EXPECT_TRUE(mix.btnOK->isDefault());
    EXPECT_EQ(mix.btnOK->objectName(), "btnOK");
}

TEST_F(EditFormsTest, PasteMixRefusesLevelsAbove100) {
    const struct { const char* select; const char* buffer; bool accepted; const char* focused; } cases[] = {
        {"100", "100", true, ""},
        {"101", "100", false, "EditSelectPart"},
        {"100", "999", false, "EditAudioInBuffer"},
        {"150", "150", false, "EditSelectPart"},
        {"0", "", true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.select) + "/" + c.buffer);
        TPasteMixForm form;
        form.show();
        QApplication::setActiveWindow(&form);
        form.EditSelectPart->setText(c.select);
        form.EditAudioInBuffer->setText(c.buffer);
        if (!c.accepted) messages.Then(MessageAnswer::Ok);
        form.btnOK->click();
        EXPECT_EQ(form.result() == QDialog::Accepted, c.accepted);
        if (!c.accepted) {
            ASSERT_FALSE(messages.messages().isEmpty());
            EXPECT_EQ(messages.messages().last().message.text, "Mix Volume must be less than 100%. Please try again.");
            EXPECT_EQ(messages.messages().last().message.kind, sw::MessageKind::Error);
            EXPECT_EQ(form.focusWidget() ? form.focusWidget()->objectName() : QString(), c.focused);
        }
        form.hide();
    }
    ExpectScriptsUsed();
}

TEST_F(EditFormsTest, PasteMixWithAnEmptyDocumentCannotIncrease) {
    dialogs.ThenDialog([](QDialog& d) {
        auto* inc = d.findChild<QRadioButton*>("RadioButtonIncreaseSelection");
        EXPECT_FALSE(inc->isEnabled());
        EXPECT_FALSE(inc->isChecked());
        EXPECT_TRUE(d.findChild<QRadioButton*>("RadioButtonInsertSilence")->isChecked());
        return int(QDialog::Accepted);
    });
    edit_dialogs::PasteMixValues v;
    v.selectPart = "80";
    v.audioInBuffer = "90";
    v.increaseEnabled = false;
    ASSERT_TRUE(edit_dialogs::AskPasteMix(nullptr, v));
    EXPECT_FALSE(v.increaseSelection);
    EXPECT_EQ(v.selectPart, "80");
    EXPECT_EQ(v.audioInBuffer, "90");
    ExpectScriptsUsed();
}

// Set Selection with 10 s to 20 s of a 60 s document.
TEST_F(EditFormsTest, SetSelectionFollowsTheTypedTimes) {
    const struct { const char* field; const char* typed; qint64 start, end; const char* shown; } cases[] = {
        {"EditStart", "0:25", 25000, 25000, "0:00:25.000"},
        {"EditStart", "90", 60000, 60000, "0:01:00.000"},
        {"EditStart", "5", 5000, 20000, "0:00:05.000"},
        {"EditEnd", "70", 10000, 60000, "0:01:00.000"},
        {"EditEnd", "0:05", 10000, 10000, "0:00:10.000"},
        {"EditLength", "5", 10000, 15000, "0:00:05.000"},
        {"EditLength", "100", 10000, 60000, "0:00:50.000"},
        {"EditStart", "x1", 10000, 20000, "0:00:10.000"},   // refused: the field comes back
        {"EditEnd", "", 10000, 20000, "0:00:20.000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed);
        TSelectSpecifiedTimeForm form(10000, 20000, 60000);
        EXPECT_EQ(form.windowTitle(), "Set Selection");
        auto* field = form.findChild<QLineEdit*>(c.field);
        ASSERT_TRUE(field);
        form.FieldEnter(field);
        field->setText(c.typed);
        form.FieldExit(field);
        EXPECT_EQ(form.Start(), c.start);
        EXPECT_EQ(form.End(), c.end);
        EXPECT_EQ(field->text(), c.shown);
        EXPECT_EQ(form.EditStart->text(), FormatTimeText(c.start));
        EXPECT_EQ(form.EditEnd->text(), FormatTimeText(c.end));
        EXPECT_EQ(form.EditLength->text(), FormatTimeText(c.end - c.start));
    }
}

TEST_F(EditFormsTest, SetSelectionOkRunsTheFocusedFieldsRule) {
    dialogs.ThenDialog([](QDialog& d) {
        auto& form = static_cast<TSelectSpecifiedTimeForm&>(d);
        form.FieldEnter(form.EditEnd);
        form.EditEnd->setText("0:30");
        form.ButtonOK->click();
        return -1;
    });
    qint64 start = 10000, end = 20000;
    ASSERT_TRUE(edit_dialogs::AskSelection(nullptr, start, end, 60000));
    EXPECT_EQ(start, 10000);
    EXPECT_EQ(end, 30000);
    dialogs.ThenReject();
    start = 1, end = 2;
    EXPECT_FALSE(edit_dialogs::AskSelection(nullptr, start, end, 60000));
    EXPECT_EQ(end, 2);
    ExpectScriptsUsed();
}

class OptionsTest : public EditFormsTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        vars.Reset(dir.path() + "/", dir.path() + "/");
        recentPath = dir.filePath("MRUList.dat");
    }
    QTemporaryDir dir;
    TGlobalVars vars;
    RecentFiles recent;
    QString recentPath;
};

TEST_F(OptionsTest, SetDefaultIsKeptWhenOptionsIsCancelled) {
    vars.OP_PromptNewFile = false;
    vars.OP_DefSample = 44100;
    vars.OP_DefChannel = 2;
    dialogs.ThenDialog([](QDialog& d) {
        auto& form = static_cast<TOptionsForm&>(d);
        EXPECT_TRUE(form.ButtonSetDefault->isEnabled());
        form.ButtonSetDefault->click();
        return int(QDialog::Rejected);
    });
    dialogs.ThenDialog([](QDialog& d) {
        auto* rate = d.findChild<QComboBox*>("ComboBoxRate");
        EXPECT_EQ(rate->currentIndex(), 3);   // 44100
        EXPECT_TRUE(d.findChild<QRadioButton*>("RadioButtonStereo")->isChecked());
        rate->setCurrentIndex(6);             // 16000
        d.findChild<QRadioButton*>("RadioButtonMono")->setChecked(true);
        return int(QDialog::Accepted);
    });
    EXPECT_FALSE(edit_dialogs::RunOptions(nullptr, vars, recent, recentPath));
    EXPECT_EQ(vars.OP_DefSample, 16000);
    EXPECT_EQ(vars.OP_DefChannel, 1);
    EXPECT_FALSE(vars.OP_PromptNewFile);
    ExpectScriptsUsed();
}

TEST_F(OptionsTest, LoadStoreAndEnabling) {
    vars.OP_PromptNewFile = true;
    vars.OP_UseDefFolder = true;
    vars.OP_WorkingFolder = "/tmp/work";
    vars.OP_PlayAfterEdit = true;
    vars.OP_PlayAfterRegion = true;
    TOptionsForm form(vars, recent, recentPath);
    EXPECT_TRUE(form.RadioButtonPrompt->isChecked());
    EXPECT_FALSE(form.ButtonSetDefault->isEnabled());
    EXPECT_FALSE(form.EditFolder->isEnabled());
    EXPECT_FALSE(form.ButtonFolder->isEnabled());
    EXPECT_EQ(form.EditFolder->text(), "/tmp/work");
    EXPECT_TRUE(form.CheckBoxPlayAfterEdit->isChecked());
    EXPECT_FALSE(form.CheckBoxPlayAfterOpen->isChecked());
    EXPECT_TRUE(form.CheckBoxPlayAfterRegion->isChecked());

    form.RadioButtonUseDefault->setChecked(true);
    form.RadioButtonUseSpecifiedFolder->setChecked(true);
    EXPECT_TRUE(form.ButtonSetDefault->isEnabled());
    EXPECT_TRUE(form.EditFolder->isEnabled());
    EXPECT_TRUE(form.ButtonFolder->isEnabled());
    form.EditFolder->setText("/tmp/other");
    form.CheckBoxPlayAfterOpen->setChecked(true);
    form.CheckBoxPlayAfterEdit->setChecked(false);
    form.CheckBoxPlayAfterBookbark->setChecked(true);
    form.StoreOptions();
    EXPECT_FALSE(vars.OP_PromptNewFile);
    EXPECT_FALSE(vars.OP_UseDefFolder);
    EXPECT_EQ(vars.OP_WorkingFolder, "/tmp/other");
    EXPECT_TRUE(vars.OP_PlayAfterOpened);
    EXPECT_FALSE(vars.OP_PlayAfterEdit);
    EXPECT_TRUE(vars.OP_PlayAfterBookmark);
    EXPECT_TRUE(vars.OP_PlayAfterRegion);
}

TEST_F(OptionsTest, FolderButtonTakesThePathAtOnce) {
    vars.OP_WorkingFolder = "/start";
    TOptionsForm form(vars, recent, recentPath);
    dialogs.ThenFile("");
    form.ButtonFolderClick();
    EXPECT_EQ(vars.OP_WorkingFolder, "/start");
    dialogs.ThenFile(dir.path());
    form.ButtonFolderClick();
    EXPECT_EQ(vars.OP_WorkingFolder, dir.path());
    EXPECT_EQ(form.EditFolder->text(), dir.path());
    ASSERT_EQ(dialogs.fileRequests().size(), 2);
    EXPECT_EQ(dialogs.fileRequests()[0].kind, sw::FileDialogRequest::Folder);
    EXPECT_EQ(dialogs.fileRequests()[0].caption, "Please select a folder");
    EXPECT_EQ(dialogs.fileRequests()[0].directory, "/start");
    ExpectScriptsUsed();
}

TEST_F(OptionsTest, DeleteRecentAsksAndSavesTheEmptyList) {
    recent.list = {"/a.wav", "/b.wav"};
    ASSERT_TRUE(recent.Save(recentPath));
    TOptionsForm form(vars, recent, recentPath);
    for (MessageAnswer a : {MessageAnswer::No, MessageAnswer::Cancel}) {
        messages.Then(a);
        form.ButtonDeleteRecentClick();
        EXPECT_EQ(recent.list.size(), 2);
    }
    messages.Then(MessageAnswer::Yes);
    form.ButtonDeleteRecentClick();
    EXPECT_TRUE(recent.list.isEmpty());
    RecentFiles reread;
    reread.Load(recentPath);
    EXPECT_TRUE(reread.list.isEmpty());
    EXPECT_EQ(messages.messages().last().message.text, "Are you sure you want to delete your recent files list?");
    EXPECT_EQ(messages.messages().last().message.buttons, sw::MessageButtons::YesNoCancel);
    ExpectScriptsUsed();
}

}  // namespace
