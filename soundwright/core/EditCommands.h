#pragma once
// The selection, editing, channel and positioning commands of the open
// document, as plain calls on the editor; the main window connects its
// actions and status fields to them.
#include <QFont>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

#include "TimeText.h"

class QWidget;
class TDocument;
struct TGlobalVars;
namespace sw { class TAudioEditor2; }

class TEditCommands {
public:
    enum class Where { Begin, Current, End };

    struct Hooks {
        std::function<void()> stopTransport;   // StopTransport
        std::function<void()> play;            // the Play command
        std::function<void()> refresh;         // redraw the editor view
    };

    TEditCommands(sw::TAudioEditor2& editor, TDocument& document, TGlobalVars& vars, QWidget* owner);

    Hooks hooks;

    // Set by Cut and Copy; read by Paste, Paste Mix and the command states.
    bool Clip() const { return clip_; }
    qint64 ClippedLength() const { return clippedLength_; }

    // The document's modified flag changed to `flag` (any command, any
    // Part): keeps track of the undo state that matches the file.
    void ModifiedChanged(bool flag);

    void Undo();
    void Redo();
    void Cut();
    void Copy();
    void Paste();
    void Delete();
    void SelectAll();
    void SelectToStart();
    void SelectToEnd();
    void SelectAllIfEmpty();
    void SelectSpecifiedTime();
    void Crop();
    void TrimStart();
    void TrimEnd();
    void SilenceSel();
    void InsertSilence(Where where);
    void Repeat();
    void MixFile();
    void PasteMix();
    void LeftChannel();
    void RightChannel();
    void BothChannels();

    // Positioning.
    void GoToStart();
    void GoToEnd();
    void RewindStep();
    void ForwardStep();
    void EnsureCursorVisible();

    // A time typed into one of the main window's selection fields; -1 from
    // ParseTimeText leaves the selection alone and returns false. On success
    // the selection is set and true returned.
    bool ApplyTimeField(TimeField field, const QString& text);
    // The selection in milliseconds as the time fields show it.
    qint64 SelStartMs() const;
    qint64 SelEndMs() const;
    qint64 LengthMs() const;

private:
    void stop();
    void modified();
    void playAfterEdit();
    // The Paste Mix dialog and the padding of steps 2, 3 and 5 of mixing;
    // false on Cancel.
    bool askMixAndPad(const std::function<qint64()>& mixLength, const QString& file);
    void setModifiedFromHistory();

    sw::TAudioEditor2& editor_;
    TDocument& document_;
    TGlobalVars& vars_;
    QWidget* owner_;
    bool clip_ = false;
    qint64 clippedLength_ = 0;
    // StateSerial of the editor when the document matched its file; 0 when
    // no state of the history does.
    std::uint64_t savedSerial_ = 0;
    // StateSerial when the flag was last set.
    std::uint64_t notedSerial_ = 0;
    bool historyStep_ = false;
};

// "'%s' is not a valid integer value" as an exception unless the text is a
// decimal integer.
int StrToInt(const QString& text);

// The largest clock size whose single-line text fits `box`; 6 when none.
int FitClockFontSize(const QFont& font, const QString& text, const QSize& box);
extern const int kClockFontSizes[17];
