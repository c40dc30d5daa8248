#include "Document.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include "DialogService.h"
#include "GlobalVars.h"
#include "MessageService.h"
#include "RecentFiles.h"
#include "WaitCursor.h"
#include "editor/TAudioEditor2.h"

// The format settings dialogs and their application onto the editor.
bool RunOutputFormatDialog(int formatCode, TGlobalVars& vars, QWidget* owner);
void ApplyOutputFormat(int formatCode, const TGlobalVars& vars, sw::FileFormat& target,
                       sw::LameEncParams& lame);

const char* const kOpenDialogFilter =
    "All Supported Formats|*.wav;*.mp3;*.mp2;*.mpga;*.wma;*.ogg;*.cda;*.vox;*.raw;*.g721;*.g723;"
    "*.g726;*.aif;*.aiff;*.aifc;*.mpc|Wave Files (*.wav)|*.wav|MPEG Layer 3 Files "
    "(*.mp3;*.mp2;*.mpga)|*.mp3;*.mp2;*.mpga|Windows Media Audio Files (*.wma)|*.wma|OGG Vorbis "
    "Audio Files (*.ogg)|*.ogg|CD Audio Tracks (*.cda)|*.cda|Dialogic VOX Files (*.vox)|*.vox|RAW "
    "Audio Files (*.raw)|*.raw|G.72x Audio Files (*.g721;*.g723;*.g726)|*.g721;*.g723;*.g726|AIFF "
    "Apple Audio Files (*.aif;*.aiff;*.aifc)|*.aif;*.aiff;*.aifc|MPC Audio Files (*.mpc)|*.mpc";
const char* const kSaveDialogFilter =
    "Wave (*.wav)|*.wav|MPEG Layer-3  (*.mp3)|*.mp3|OGG Vorbis (*.ogg)|*.ogg|Windows Media Audio "
    "(*.wma)|*.wma";

const int kNewFileRates[12] = {96000, 88200, 48000, 44100, 32000, 24000,
                               22050, 16000, 12000, 11025, 8000,  6000};
const int kResampleRates[10] = {96000, 88200, 48000, 44100, 32000, 22050, 16000, 11025, 8000, 6000};

int ResampleRowOf(int rate) {
    for (int i = 0; i < 10; ++i)
        if (kResampleRates[i] == rate) return i;
    return 3;
}

namespace {

const char* const kSupported[] = {".wav", ".mp3", ".mp2", ".mpga", ".wma", ".ogg", ".cda", ".vox",
                                  ".raw", ".g721", ".g723", ".g726", ".aif", ".aiff", ".aifc", ".mpc"};

QString FolderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath()) + "/";
}

// The extension of a file name with its dot, lower case; "" when none.
QString ExtensionOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : "." + suffix.toLower();
}

}  // namespace

TDocument::TDocument(sw::TAudioEditor2& editor, TGlobalVars& vars, RecentFiles& recent,
                     const ProductIdentity& identity, QWidget* owner)
    : editor_(editor), vars_(vars), recent_(recent), identity_(identity), owner_(owner) {}

bool TDocument::IsSupportedExtension(const QString& extension) {
    QString e = extension.toLower();
    if (!e.startsWith('.')) e.prepend('.');
    for (const char* s : kSupported)
        if (e == QLatin1String(s)) return true;
    return false;
}

void TDocument::stop() {
    if (hooks.stopTransport) hooks.stopTransport();
}

void TDocument::setFileInfo(const QString& text) {
    if (hooks.fileInfoPanel) hooks.fileInfoPanel(text);
}

void TDocument::workFolder() {
    if (hooks.applyWorkFolder) hooks.applyWorkFolder();
}

void TDocument::SetModified(bool flag) {
    modified_ = flag;
    if (hooks.modifiedPanel) hooks.modifiedPanel(flag ? QStringLiteral("Modified") : QStringLiteral(" "));
}

bool TDocument::ConfirmDiscard() {
    if (!modified_) return true;
    const sw::MessageAnswer a = sw::AskYesNoCancel(
        QString("Do you want to save the changes you made to \"%1\"?").arg(fileName_), owner_);
    if (a == sw::MessageAnswer::Cancel) return false;
    if (a == sw::MessageAnswer::Yes) return SaveDocument(false, false);
    return true;
}

bool TDocument::CreateDocument(const QString& name, int sampleRate, int channels) {
    if (!ConfirmDiscard()) return false;
    try {
        editor_.CreateNew(sampleRate, channels);
    } catch (const std::exception& e) {
        sw::ShowError(QString::fromUtf8(e.what()), owner_);
        return false;
    }
    fileName_ = name;
    auto& info = editor_.FileInfo();
    info.SetTitle("Untitled");
    info.SetArtist("Unknown Artist");
    info.SetAlbum("Unknown Album");
    info.SetGenre(0);
    info.SetYear(QDate::currentDate().year());
    info.SetComment(QString("Created by %1 (%2)").arg(identity_.displayName, identity_.productPage).toStdString());
    open_ = true;
    workFolder();
    setFileInfo(QString("%1 - [ %2 ]").arg(fileName_, QString::fromStdString(info.Description())));
    SetModified(false);
    return true;
}

bool TDocument::OpenDocument(const QString& path) {
    if (!ConfirmDiscard()) return false;
    // The name, the start folder, the status panel and the recent list change
    // only once the file is open: a failed open leaves the editor as it was
    // (the previous document, or none) under the name that matches it.
    try {
        sw::WaitCursor wait;
        editor_.OpenFile(path.toStdString(), 0);
    } catch (const std::exception& e) {
        sw::ShowError(QString::fromUtf8(e.what()), owner_);
        return false;
    }
    fileName_ = path;
    open_ = true;
    workFolder();
    vars_.LastOpenDir = FolderOf(path);
    setFileInfo(QString("%1 - [ %2 ]").arg(path, QString::fromStdString(editor_.FileInfo().Description())));
    SetModified(false);
    recent_.Touch(path);
    if (vars_.OP_PlayAfterOpened && hooks.play) hooks.play();
    return true;
}

bool TDocument::SaveDocument(bool saveAsNew, bool selectionOnly) {
    QString target = fileName_;
    if (saveAsNew || QFileInfo(fileName_).suffix().isEmpty()) {
        sw::FileDialogRequest r;
        r.kind = sw::FileDialogRequest::Save;
        r.caption = selectionOnly ? "Save Selection As" : "Save As";
        const QFileInfo current(fileName_);
        r.directory = current.isAbsolute() ? current.absolutePath() : vars_.LastOpenDir;
        r.fileName = current.isAbsolute()
            ? current.absolutePath() + "/" + current.completeBaseName()
            : current.completeBaseName();
        r.filter = sw::QtFilterFromPipes(kSaveDialogFilter);
        r.defaultSuffix = "wav";
        r.confirmOverwrite = true;
        QString chosen = sw::Dialogs().GetFile(r, owner_);
        if (chosen.isEmpty()) return false;
        if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".wav";
        target = QFileInfo(chosen).absoluteFilePath();
        // A selection-only save writes a part into another file; the document
        // keeps its own name, flag and panel.
        if (!selectionOnly) fileName_ = target;
    }
    const QString ext = ExtensionOf(target);
    const int code = sw::FormatCodeForPath(target.toStdString());
    if (code == 0) {
        sw::ShowError(QString("\"%1\" cannot be saved: files of the type \"%2\" cannot be written. "
                              "Save as .wav, .mp3, .ogg or .wma instead.")
                          .arg(QFileInfo(target).fileName(), ext.isEmpty() ? QString("(none)") : ext),
                      owner_);
        return false;
    }
    if (!RunOutputFormatDialog(code, vars_, owner_)) return false;
    try {
        ApplyOutputFormat(code, vars_, editor_.FileFormat(), lame_);
        editor_.SaveFile(target.toStdString(), selectionOnly, code);
    } catch (const std::exception& e) {
        sw::ShowError(QString::fromUtf8(e.what()), owner_);
        return false;
    }
    if (!selectionOnly) {
        SetModified(false);
        setFileInfo(fileName_);
    }
    recent_.Touch(target);
    return true;
}

QString TDocument::askOpenPath() {
    sw::FileDialogRequest r;
    r.kind = sw::FileDialogRequest::Open;
    r.caption = "Open";
    r.directory = vars_.LastOpenDir;
    r.filter = sw::QtFilterFromPipes(kOpenDialogFilter);
    const QString path = sw::Dialogs().GetFile(r, owner_);
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

void TDocument::NewFile() {
    stop();
    int rate = vars_.OP_DefSample;
    int channels = vars_.OP_DefChannel;
    if (vars_.OP_PromptNewFile) {
        int index = vars_.DefNewFileSampleRate;
        int button = vars_.DefNewFileChannels;
        if (!document_dialogs::AskNewFile(owner_, index, button)) return;
        vars_.DefNewFileSampleRate = index;
        vars_.DefNewFileChannels = button;
        rate = kNewFileRates[qBound(0, index, 11)];
        channels = button == 1 ? 1 : 2;
    }
    CreateDocument("Untitled", rate, channels);
}

void TDocument::Open() {
    stop();
    const QString path = askOpenPath();
    if (!path.isEmpty()) OpenDocument(path);
}

bool TDocument::DropFiles(const QStringList& paths) {
    sw::WaitCursor wait;
    if (paths.size() != 1 || paths.first().isEmpty()) return false;
    const QFileInfo fi(paths.first());
    if (!fi.exists() || fi.isDir() || !IsSupportedExtension(ExtensionOf(fi.filePath()))) return false;
    return OpenDocument(fi.absoluteFilePath());
}

void TDocument::InsertFile(InsertWhere where) {
    stop();
    const QString path = askOpenPath();
    if (path.isEmpty()) return;
    try {
        auto& pos = editor_.Position();
        pos.SetHasSelection(false);
        if (where == InsertWhere::Begin) pos.SetCurrentPosition(0);
        if (where == InsertWhere::End) pos.SetCurrentPosition(pos.Length());
        editor_.InsertFile(path.toStdString());
    } catch (const std::exception& e) {
        sw::ShowError(QString::fromUtf8(e.what()), owner_);
        return;
    }
    vars_.LastOpenDir = FolderOf(path);
    SetModified(true);
    if (vars_.OP_PlayAfterEdit && hooks.play) hooks.play();
}

void TDocument::CloseFile() {
    stop();
    if (!ConfirmDiscard()) return;
    editor_.CloseFile();
    open_ = false;
    fileName_.clear();
    setFileInfo(QString());
    SetModified(false);
    if (hooks.clearMarkerLists) hooks.clearMarkerLists();
}

bool TDocument::QueryExit() {
    stop();
    if (!modified_) return true;
    const sw::MessageAnswer a = sw::AskYesNoCancel(
        QString("Do you want to save the changes you made to \"%1\"?").arg(fileName_), owner_);
    if (a == sw::MessageAnswer::Cancel) return false;
    if (a == sw::MessageAnswer::Yes) return SaveDocument(false, false);
    return true;
}

void TDocument::Resample() {
    stop();
    int row = ResampleRowOf(editor_.FileInfo().SampleRate());
    bool mono = editor_.FileInfo().Channels() == 1;
    if (!document_dialogs::AskSampleRate(owner_, row, mono)) return;
    try {
        sw::WaitCursor wait;
        editor_.Resample(kResampleRates[qBound(0, row, 9)], mono ? 1 : 2);
    } catch (const std::exception& e) {
        sw::ShowError(QString::fromUtf8(e.what()), owner_);
        return;
    }
    SetModified(true);
}

void TDocument::EditID3Tags() {
    stop();
    auto& info = editor_.FileInfo();
    QStringList genres;
    for (int i = 0; i <= 147; ++i) genres << QString::fromStdString(info.GenreName(i));
    document_dialogs::TagFields tags;
    tags.title = QString::fromStdString(info.Title());
    tags.artist = QString::fromStdString(info.Artist());
    tags.album = QString::fromStdString(info.Album());
    tags.genre = info.Genre();
    tags.year = info.Year();
    tags.comment = QString::fromStdString(info.Comment());
    if (!document_dialogs::AskTags(owner_, genres, tags)) return;
    info.SetTitle(tags.title.toStdString());
    info.SetArtist(tags.artist.toStdString());
    info.SetAlbum(tags.album.toStdString());
    info.SetGenre(tags.genre);
    info.SetYear(tags.year);
    info.SetComment(tags.comment.toStdString());
    SetModified(true);
}
