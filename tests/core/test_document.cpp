// The document commands on the real engine, with the real dialogs run
// through the scripted dialog service and every message box scripted.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "Document.h"
#include "GlobalVars.h"
#include "RecentFiles.h"
#include "ScriptChecks.h"
#include "ScriptedDialogService.h"
#include "ScriptedMessageService.h"
#include "TestSupport.h"
#include "editor/TAudioEditor2.h"

namespace {

using sw::MessageAnswer;

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        vars.Reset(dir.path() + "/", dir.path() + "/");
        identity = IdentityFor(DefaultDisplayName());
        doc = std::make_unique<TDocument>(editor, vars, recent, identity, nullptr);
        doc->hooks.modifiedPanel = [this](const QString& t) { modifiedPanel = t; };
        doc->hooks.fileInfoPanel = [this](const QString& t) { fileInfoPanel = t; };
        doc->hooks.stopTransport = [this] { ++stops; };
        doc->hooks.clearMarkerLists = [this] { ++markerClears; };
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // A tone file made by ffmpeg, opened as the document.
    void OpenTone(const QString& name, double seconds = 2.0) {
        ASSERT_TRUE(swtest::MakeTone(path(name), seconds, 44100, 2));
        ASSERT_TRUE(doc->OpenDocument(path(name)));
    }

    void Select(double fromSeconds, double toSeconds) {
        auto& p = editor.Position();
        p.SetHasSelection(true);
        p.SetSelStart(sw::SampleCount(fromSeconds * 44100));
        p.SetSelEnd(sw::SampleCount(toSeconds * 44100));
    }

    void ExpectScriptsUsed() { ExpectAllScriptsUsed(messages, dialogs); }

    QTemporaryDir dir;
    sw::TAudioEditor2 editor;
    TGlobalVars vars;
    RecentFiles recent;
    ProductIdentity identity;
    std::unique_ptr<TDocument> doc;
    sw::ScriptedMessageService messages;
    sw::ScopedMessageService scopedMessages{messages};
    sw::ScriptedDialogService dialogs;
    sw::ScopedDialogService scopedDialogs{dialogs};
    QString modifiedPanel, fileInfoPanel;
    int stops = 0, markerClears = 0;
};

TEST(DocumentTables, SupportedExtensions) {
    const QStringList yes = {".wav", ".WAV", ".mp3", ".mp2", ".mpga", ".wma", ".ogg", ".cda", ".vox", ".raw",
                             ".g721", ".g723", ".g726", ".aif", ".aiff", ".AIFC", ".mpc", "wav"};
    const QStringList no = {"", ".", ".flac", ".m4a", ".wave", ".mp", ".txt", ".aiffx"};
    for (const QString& e : yes) EXPECT_TRUE(TDocument::IsSupportedExtension(e)) << e.toStdString();
    for (const QString& e : no) EXPECT_FALSE(TDocument::IsSupportedExtension(e)) << e.toStdString();
}

TEST(DocumentTables, ResampleRows) {
    const QList<QPair<int, int>> cases = {{96000, 0}, {88200, 1}, {48000, 2}, {44100, 3}, {32000, 4},
                                          {22050, 5}, {16000, 6}, {11025, 7}, {8000, 8},  {6000, 9},
                                          {24000, 3}, {12000, 3}, {0, 3},     {192000, 3}};
    for (const auto& [rate, row] : cases) EXPECT_EQ(ResampleRowOf(rate), row) << rate;
}

TEST_F(DocumentTest, CreateDocumentSetsTagsNameAndPanels) {
    ASSERT_TRUE(doc->CreateDocument("Untitled", 22050, 1));
    EXPECT_TRUE(doc->IsOpen());
    EXPECT_EQ(doc->FileName(), "Untitled");
    EXPECT_FALSE(doc->Modified());
    EXPECT_EQ(modifiedPanel, " ");
    auto& info = editor.FileInfo();
    EXPECT_EQ(info.SampleRate(), 22050);
    EXPECT_EQ(info.Channels(), 1);
    EXPECT_EQ(info.Title(), "Untitled");
    EXPECT_EQ(info.Artist(), "Unknown Artist");
    EXPECT_EQ(info.Album(), "Unknown Album");
    EXPECT_EQ(info.Genre(), 0);
    EXPECT_EQ(info.Year(), QDate::currentDate().year());
    EXPECT_EQ(QString::fromStdString(info.Comment()),
              QString("Created by %1 (%2)").arg(identity.displayName, identity.productPage));
    EXPECT_EQ(fileInfoPanel, "Untitled - [ " + QString::fromStdString(info.Description()) + " ]");
    EXPECT_TRUE(recent.list.isEmpty());   // a new document is not a recent file
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, SetModifiedShowsInPanel) {
    doc->SetModified(true);
    EXPECT_EQ(modifiedPanel, "Modified");
    doc->SetModified(false);
    EXPECT_EQ(modifiedPanel, " ");
}

TEST_F(DocumentTest, NewFileWithoutPromptUsesDefaults) {
    vars.OP_PromptNewFile = false;
    vars.OP_DefSample = 8000;
    vars.OP_DefChannel = 1;
    doc->NewFile();
    EXPECT_EQ(editor.FileInfo().SampleRate(), 8000);
    EXPECT_EQ(editor.FileInfo().Channels(), 1);
    EXPECT_GE(stops, 1);
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, NewFileDialogChoiceIsStoredAndUsed) {
    dialogs.ThenDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "New Sample");
        auto* rate = d.findChild<QComboBox*>("cbSampleRate");
        auto* mono = d.findChild<QRadioButton*>("rbMono");
        EXPECT_TRUE(rate && mono);
        if (!rate || !mono) return int(QDialog::Rejected);
        EXPECT_EQ(rate->currentIndex(), 3);
        rate->setCurrentIndex(6);   // 22,050
        mono->setChecked(true);
        return int(QDialog::Accepted);
    });
    doc->NewFile();
    EXPECT_EQ(vars.DefNewFileSampleRate, 6);
    EXPECT_EQ(vars.DefNewFileChannels, 1);
    EXPECT_EQ(editor.FileInfo().SampleRate(), 22050);
    EXPECT_EQ(editor.FileInfo().Channels(), 1);
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, NewFileCancelledChangesNothing) {
    dialogs.ThenReject();
    doc->NewFile();
    EXPECT_FALSE(doc->IsOpen());
    EXPECT_EQ(vars.DefNewFileSampleRate, 3);
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, ConfirmDiscardAnswers) {
    OpenTone("a.wav");
    EXPECT_TRUE(doc->ConfirmDiscard());   // not modified: no question
    EXPECT_TRUE(messages.messages().isEmpty());

    doc->SetModified(true);
    messages.Then(MessageAnswer::Cancel);
    EXPECT_FALSE(doc->ConfirmDiscard());
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].message.text,
              QString("Do you want to save the changes you made to \"%1\"?").arg(path("a.wav")));
    EXPECT_EQ(messages.messages()[0].message.buttons, sw::MessageButtons::YesNoCancel);
    EXPECT_EQ(messages.messages()[0].message.kind, sw::MessageKind::Question);

    messages.Then(MessageAnswer::No);
    EXPECT_TRUE(doc->ConfirmDiscard());

    // Yes saves; a cancelled format dialog makes the save, and so the
    // question, fail.
    messages.Then(MessageAnswer::Yes);
    dialogs.ThenReject();
    EXPECT_FALSE(doc->ConfirmDiscard());
    EXPECT_TRUE(doc->Modified());
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, OpenMovesRecentEntryToEnd) {
    ASSERT_TRUE(swtest::MakeTone(path("a.wav"), 0.5, 44100, 2));
    ASSERT_TRUE(swtest::MakeTone(path("b.wav"), 0.5, 44100, 2));
    ASSERT_TRUE(doc->OpenDocument(path("a.wav")));
    ASSERT_TRUE(doc->OpenDocument(path("b.wav")));
    ASSERT_TRUE(doc->OpenDocument(path("a.wav")));
    EXPECT_EQ(recent.list, (QStringList{path("b.wav"), path("a.wav")}));
    EXPECT_EQ(vars.LastOpenDir, dir.path() + "/");
    EXPECT_EQ(fileInfoPanel.left(path("a.wav").size() + 4), path("a.wav") + " - [");
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, FailedOpenKeepsThePreviousDocumentAndItsName) {
    OpenTone("a.wav", 1.0);
    const sw::SampleCount length = editor.Position().Length();
    const QStringList recentBefore = recent.list;
    QFile bad(path("sub/broken.mp3"));
    QDir(dir.path()).mkdir("sub");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not audio at all");
    bad.close();
    messages.Then(MessageAnswer::Ok);
    EXPECT_FALSE(doc->OpenDocument(path("sub/broken.mp3")));
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages()[0].message.kind, sw::MessageKind::Error);
    EXPECT_EQ(doc->FileName(), path("a.wav"));
    EXPECT_TRUE(doc->IsOpen());
    EXPECT_EQ(editor.Position().Length(), length);
    EXPECT_EQ(vars.LastOpenDir, dir.path() + "/");
    EXPECT_EQ(recent.list, recentBefore);
    // Save File afterwards writes the document's own file, never the one
    // that failed to open.
    const QByteArray badBytes = ReadAll(path("sub/broken.mp3"));
    doc->SetModified(true);
    dialogs.ThenAccept();   // Wave File Setup
    EXPECT_TRUE(doc->SaveFile());
    EXPECT_EQ(ReadAll(path("sub/broken.mp3")), badBytes);
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, SaveOnUnsupportedExtensionWritesNothingAndSaysWhy) {
    ASSERT_TRUE(swtest::MakeTone(path("song.aiff"), 0.5, 44100, 2));
    ASSERT_TRUE(doc->OpenDocument(path("song.aiff")));
    doc->SetModified(true);
    const QByteArray before = ReadAll(path("song.aiff"));
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
    messages.Then(MessageAnswer::Ok);
    EXPECT_FALSE(doc->SaveFile());
    EXPECT_TRUE(dialogs.fileRequests().isEmpty());
    EXPECT_TRUE(dialogs.dialogs().isEmpty());
    ASSERT_EQ(messages.messages().size(), 1);
    const QString text = messages.messages()[0].message.text;
    for (const char* part : {".aiff", ".wav", ".mp3", ".ogg", ".wma"}) EXPECT_TRUE(text.contains(part)) << part;
    EXPECT_EQ(ReadAll(path("song.aiff")), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), filesBefore);
    EXPECT_TRUE(doc->Modified());
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, SaveUntitledAsksWithItsNameAndAddsWav) {
    ASSERT_TRUE(doc->CreateDocument("Untitled", 44100, 2));
    editor.Transform().InsertSilence(250);
    doc->SetModified(true);
    dialogs.ThenFile(path("typed"));   // typed without an extension
    dialogs.ThenAccept();              // Wave File Setup
    EXPECT_TRUE(doc->SaveFile());
    ASSERT_EQ(dialogs.fileRequests().size(), 1);
    const sw::FileDialogRequest& r = dialogs.fileRequests()[0];
    EXPECT_EQ(r.kind, sw::FileDialogRequest::Save);
    EXPECT_EQ(QFileInfo(r.fileName).fileName(), "Untitled");
    EXPECT_EQ(r.defaultSuffix, "wav");
    EXPECT_TRUE(r.confirmOverwrite);
    EXPECT_EQ(dialogs.dialogs(), QStringList{"WaveFormatForm"});
    EXPECT_TRUE(QFileInfo::exists(path("typed.wav")));
    EXPECT_EQ(doc->FileName(), path("typed.wav"));
    EXPECT_FALSE(doc->Modified());
    EXPECT_EQ(fileInfoPanel, path("typed.wav"));
    EXPECT_EQ(recent.list, QStringList{path("typed.wav")});
    const swtest::ProbeInfo probe = swtest::Probe(path("typed.wav"));
    EXPECT_TRUE(probe.ok);
    EXPECT_NEAR(probe.duration, 0.25, 0.01);
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, SaveAsTypedUnsupportedExtensionWritesNothing) {
    OpenTone("a.wav", 0.5);
    dialogs.ThenFile(path("out.flac"));
    messages.Then(MessageAnswer::Ok);
    EXPECT_FALSE(doc->SaveFileAs());
    EXPECT_FALSE(QFileInfo::exists(path("out.flac")));
    EXPECT_TRUE(messages.messages().value(0).message.text.contains(".flac"));
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, CancelledMp3DialogAfterSaveAsReportsFailure) {
    OpenTone("a.wav", 0.5);
    doc->SetModified(true);
    dialogs.ThenFile(path("x.mp3"));
    dialogs.ThenReject();   // MP3 File Setup
    EXPECT_FALSE(doc->SaveFileAs());
    EXPECT_EQ(dialogs.dialogs(), QStringList{"Mp3FormatForm"});
    EXPECT_FALSE(QFileInfo::exists(path("x.mp3")));
    EXPECT_EQ(doc->FileName(), path("x.mp3"));
    EXPECT_TRUE(doc->Modified());
    EXPECT_FALSE(recent.list.contains(path("x.mp3")));
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, SaveSelectionWritesThePartAndKeepsTheDocument) {
    OpenTone("a.wav", 2.0);
    Select(0.5, 1.0);
    doc->SetModified(true);
    const QString panelBefore = fileInfoPanel;
    dialogs.ThenFile(path("part.mp3"));
    dialogs.ThenAccept();   // MP3 File Setup
    EXPECT_TRUE(doc->SaveSelectionAs());
    const swtest::ProbeInfo probe = swtest::Probe(path("part.mp3"));
    ASSERT_TRUE(probe.ok);
    EXPECT_EQ(probe.codec, "mp3");
    EXPECT_NEAR(probe.duration, 0.5, 0.08);
    // The document is still the unsaved whole under its own name.
    EXPECT_EQ(doc->FileName(), path("a.wav"));
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(modifiedPanel, "Modified");
    EXPECT_EQ(fileInfoPanel, panelBefore);
    EXPECT_EQ(recent.list.last(), path("part.mp3"));
    // Closing asks, since the rest of the document was never saved.
    messages.Then(MessageAnswer::Cancel);
    doc->CloseFile();
    EXPECT_TRUE(doc->IsOpen());
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, CopyToNewIsASelectionSave) {
    OpenTone("a.wav", 1.0);
    Select(0.0, 0.25);
    dialogs.ThenFile(path("copy.wav"));
    dialogs.ThenAccept();
    EXPECT_TRUE(doc->CopyToNew());
    EXPECT_NEAR(swtest::Probe(path("copy.wav")).duration, 0.25, 0.01);
    EXPECT_EQ(doc->FileName(), path("a.wav"));
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, DroppedItemsOpenOnlyOneSupportedFile) {
    ASSERT_TRUE(swtest::MakeTone(path("a.wav"), 0.2, 44100, 2));
    ASSERT_TRUE(swtest::MakeTone(path("b.wav"), 0.2, 44100, 2));
    QFile txt(path("notes.txt"));
    ASSERT_TRUE(txt.open(QIODevice::WriteOnly));
    txt.close();
    QDir(dir.path()).mkdir("folder.wav");
    const QList<QStringList> ignored = {
        {path("a.wav"), path("b.wav")}, {path("folder.wav")}, {path("notes.txt")}, {path("missing.wav")}, {""}, {}};
    for (const QStringList& drop : ignored) {
        EXPECT_FALSE(doc->DropFiles(drop)) << drop.join(",").toStdString();
        EXPECT_FALSE(doc->IsOpen());
    }
    EXPECT_TRUE(doc->DropFiles({path("b.wav")}));
    EXPECT_EQ(doc->FileName(), path("b.wav"));
    EXPECT_EQ(stops, 0);   // dropping does not stop the transport
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, InsertFilePlacesAudioAndMarksModified) {
    ASSERT_TRUE(swtest::MakeTone(path("ins.wav"), 0.5, 44100, 2));
    OpenTone("a.wav", 1.0);
    const sw::SampleCount before = editor.Position().Length();
    QDir(dir.path()).mkdir("other");
    vars.LastOpenDir = dir.path() + "/other/";
    dialogs.ThenFile(path("ins.wav"));
    doc->InsertFile(TDocument::InsertWhere::End);
    EXPECT_EQ(editor.Position().Length(), before + 22050);
    EXPECT_TRUE(doc->Modified());
    EXPECT_EQ(vars.LastOpenDir, dir.path() + "/");
    ASSERT_EQ(dialogs.fileRequests().size(), 1);
    EXPECT_EQ(dialogs.fileRequests()[0].directory, dir.path() + "/other/");
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, CloseFileAndExitQuestions) {
    OpenTone("a.wav", 0.2);
    doc->SetModified(true);
    messages.Then(MessageAnswer::Cancel);
    EXPECT_FALSE(doc->QueryExit());
    messages.Then(MessageAnswer::No);
    EXPECT_TRUE(doc->QueryExit());
    messages.Then(MessageAnswer::No);
    doc->CloseFile();
    EXPECT_FALSE(doc->IsOpen());
    EXPECT_TRUE(doc->FileName().isEmpty());
    EXPECT_TRUE(fileInfoPanel.isEmpty());
    EXPECT_EQ(markerClears, 1);
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, ResampleUsesTheDialogRow) {
    OpenTone("a.wav", 0.5);
    dialogs.ThenDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Convert Sample Rate");
        auto* rate = d.findChild<QComboBox*>("ComboBoxRate");
        EXPECT_TRUE(rate);
        if (!rate) return int(QDialog::Rejected);
        EXPECT_EQ(rate->currentIndex(), 3);
        rate->setCurrentIndex(5);   // 22050 Hz
        for (QRadioButton* b : d.findChildren<QRadioButton*>())
            if (b->text().remove('&') == "Mono") b->setChecked(true);
        return int(QDialog::Accepted);
    });
    doc->Resample();
    EXPECT_EQ(editor.FileInfo().SampleRate(), 22050);
    EXPECT_EQ(editor.FileInfo().Channels(), 1);
    EXPECT_NEAR(double(editor.Position().Length()), 22050 * 0.5, 2);
    EXPECT_TRUE(doc->Modified());
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, EditTagsBadYearKeepsDialogOpenAndWritesNothing) {
    ASSERT_TRUE(doc->CreateDocument("Untitled", 44100, 2));
    const int year = editor.FileInfo().Year();
    messages.Then(MessageAnswer::Ok);
    int rounds = 0;
    dialogs.ThenDialog([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Edit Audio Tags");
        auto* title = d.findChild<QLineEdit*>("EditTitle");
        auto* yearEdit = d.findChild<QLineEdit*>("EditYear");
        auto* genre = d.findChild<QComboBox*>("ComboBoxGenre");
        auto* ok = d.findChild<QPushButton*>("ButtonOK");
        EXPECT_TRUE(title && yearEdit && genre && ok);
        if (!title || !yearEdit || !genre || !ok) return int(QDialog::Rejected);
        EXPECT_EQ(genre->count(), 148);
        title->setText("New title");
        genre->setCurrentIndex(17);
        yearEdit->setText("19x9");
        ok->click();
        ++rounds;
        EXPECT_EQ(d.result(), int(QDialog::Rejected)) << "the dialog must stay open";
        EXPECT_EQ(messages.messages().size(), 1);
        EXPECT_EQ(messages.messages().value(0).message.text, "'19x9' is not a valid integer value");
        return int(QDialog::Rejected);   // the user gives up
    });
    doc->EditID3Tags();
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(editor.FileInfo().Title(), "Untitled");
    EXPECT_EQ(editor.FileInfo().Genre(), 0);
    EXPECT_EQ(editor.FileInfo().Year(), year);
    EXPECT_FALSE(doc->Modified());
    ExpectScriptsUsed();
}

TEST_F(DocumentTest, EditTagsWritesAllSix) {
    ASSERT_TRUE(doc->CreateDocument("Untitled", 44100, 2));
    dialogs.ThenDialog([](QDialog& d) {
        d.findChild<QLineEdit*>("EditTitle")->setText("T");
        d.findChild<QLineEdit*>("EditArtist")->setText("A");
        d.findChild<QLineEdit*>("EditAlbum")->setText("B");
        d.findChild<QComboBox*>("ComboBoxGenre")->setCurrentIndex(17);
        d.findChild<QLineEdit*>("EditYear")->setText("1999");
        d.findChild<QPushButton*>("ButtonOK")->click();
        return -1;
    });
    doc->EditID3Tags();
    auto& info = editor.FileInfo();
    EXPECT_EQ(info.Title(), "T");
    EXPECT_EQ(info.Artist(), "A");
    EXPECT_EQ(info.Album(), "B");
    EXPECT_EQ(info.Genre(), 17);
    EXPECT_EQ(info.Year(), 1999);
    EXPECT_TRUE(doc->Modified());
    ExpectScriptsUsed();
}

}  // namespace
