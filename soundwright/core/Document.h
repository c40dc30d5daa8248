#pragma once
// The open document: its name and modified flag, and the commands that
// create, open, insert into, save and close it, with the check for unsaved
// changes and the upkeep of the recent files list. The main window owns one
// and connects the hooks to its status bar, transport and marker lists.
#include <QString>
#include <QStringList>
#include <functional>

#include "Identity.h"
#include "codec/OutputFormat.h"

class QWidget;
class RecentFiles;
struct TGlobalVars;
namespace sw { class TAudioEditor2; }

// The filters of the open and save dialogs, in the "Caption|patterns" form.
extern const char* const kOpenDialogFilter;
extern const char* const kSaveDialogFilter;

// The New File dialog's rates by list index, and the rows of Resample.
extern const int kNewFileRates[12];
extern const int kResampleRates[10];
// The row of a rate in kResampleRates; any other rate gives the row of 44100.
int ResampleRowOf(int rate);

class TDocument {
public:
    enum class InsertWhere { Begin, Current, End };

    struct Hooks {
        std::function<void()> stopTransport;              // StopTransport
        std::function<void()> play;                       // the Play command
        std::function<void(const QString&)> modifiedPanel;
        std::function<void(const QString&)> fileInfoPanel;
        std::function<void()> clearMarkerLists;           // bookmark and region lists
        std::function<void()> applyWorkFolder;            // TempDirectory of the editor
    };

    TDocument(sw::TAudioEditor2& editor, TGlobalVars& vars, RecentFiles& recent,
              const ProductIdentity& identity, QWidget* owner);

    Hooks hooks;

    bool IsOpen() const { return open_; }
    const QString& FileName() const { return fileName_; }
    bool Modified() const { return modified_; }
    // The MP3 encoder parameter object kept for the run.
    sw::LameEncParams& LameEnc() { return lame_; }

    static bool IsSupportedExtension(const QString& extension);   // ".wav", "WAV" ...
    void SetModified(bool flag);
    bool ConfirmDiscard();
    bool CreateDocument(const QString& name, int sampleRate, int channels);
    bool OpenDocument(const QString& path);
    bool SaveDocument(bool saveAsNew, bool selectionOnly);

    // Commands.
    void NewFile();
    void Open();
    // Files dropped on the main window (local paths; a non-local item is an
    // empty text). Returns whether a file was opened.
    bool DropFiles(const QStringList& paths);
    void InsertFile(InsertWhere where);
    bool SaveFile() { stop(); return SaveDocument(false, false); }
    bool SaveFileAs() { stop(); return SaveDocument(true, false); }
    bool SaveSelectionAs() { stop(); return SaveDocument(true, true); }
    bool CopyToNew() { stop(); return SaveDocument(true, true); }
    void CloseFile();
    // Exit's question: whether the window may close.
    bool QueryExit();
    void Resample();
    void EditID3Tags();

private:
    void stop();
    QString askOpenPath();
    void setFileInfo(const QString& text);
    void workFolder();

    sw::TAudioEditor2& editor_;
    TGlobalVars& vars_;
    RecentFiles& recent_;
    ProductIdentity identity_;
    QWidget* owner_;
    sw::LameEncParams lame_;
    bool open_ = false;
    QString fileName_;
    bool modified_ = false;
};

// The dialogs the document commands run (each through the dialog service).
// Each returns whether the user confirmed.
namespace document_dialogs {
// New File: the list index (0..11) and the channel button (0 stereo, 1 mono).
bool AskNewFile(QWidget* owner, int& rateIndex, int& channelButton);
// Convert Sample Rate: the row (0..9) and mono.
bool AskSampleRate(QWidget* owner, int& row, bool& mono);
struct TagFields {
    QString title, artist, album, comment;
    int genre = 0;
    int year = 0;
};
bool AskTags(QWidget* owner, const QStringList& genres, TagFields& tags);
}  // namespace document_dialogs
