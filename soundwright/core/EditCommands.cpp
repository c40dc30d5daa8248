#include "EditCommands.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <stdexcept>

#include "DialogService.h"
#include "Document.h"
#include "EditForms.h"
#include "GlobalVars.h"
#include "MessageService.h"
#include "WaitCursor.h"
#include "editor/TAudioEditor2.h"
#include "editor/TAudioInformation2.h"

const int kClockFontSizes[17] = {6, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

namespace {
constexpr sw::SampleCount kStep = 2000;
}

int StrToInt(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok) throw std::runtime_error(QString("'%1' is not a valid integer value").arg(text).toStdString());
    return v;
}

int FitClockFontSize(const QFont& font, const QString& text, const QSize& box) {
    int best = kClockFontSizes[0];
    for (int size : kClockFontSizes) {
        QFont f(font);
        f.setPointSize(size);
        const QSize need = QFontMetrics(f).size(Qt::TextSingleLine, text);
        if (need.width() <= box.width() && need.height() <= box.height()) best = size;
    }
    return best;
}

TEditCommands::TEditCommands(sw::TAudioEditor2& editor, TDocument& document, TGlobalVars& vars, QWidget* owner)
    : editor_(editor), document_(document), vars_(vars), owner_(owner) {}

void TEditCommands::stop() {
    if (hooks.stopTransport) hooks.stopTransport();
}

void TEditCommands::modified() { document_.SetModified(true); }

void TEditCommands::playAfterEdit() {
    if (vars_.OP_PlayAfterEdit && hooks.play) hooks.play();
}

// ---- Saved state ----------------------------------------------------------

void TEditCommands::ModifiedChanged(bool flag) {
    if (historyStep_) return;
    const std::uint64_t serial = editor_.StateSerial();
    if (!flag) savedSerial_ = serial;
    // A change that made no new undo state (the tags) cannot be undone:
    // from now on no state of the history equals the file.
    else if (serial == notedSerial_) savedSerial_ = 0;
    notedSerial_ = serial;
}

void TEditCommands::setModifiedFromHistory() {
    historyStep_ = true;
    notedSerial_ = editor_.StateSerial();
    document_.SetModified(savedSerial_ == 0 || notedSerial_ != savedSerial_);
    historyStep_ = false;
}

void TEditCommands::Undo() {
    stop();
    editor_.Undo();
    setModifiedFromHistory();
}

void TEditCommands::Redo() {
    stop();
    editor_.Redo();
    setModifiedFromHistory();
}

// ---- Clipboard ------------------------------------------------------------

void TEditCommands::Cut() {
    stop();
    auto& p = editor_.Position();
    clip_ = true;
    clippedLength_ = p.SelEnd() - p.SelStart();
    editor_.Cut();
    modified();
    playAfterEdit();
}

void TEditCommands::Copy() {
    stop();
    auto& p = editor_.Position();
    clip_ = true;
    clippedLength_ = p.SelEnd() - p.SelStart();
    editor_.Copy();
}

void TEditCommands::Paste() {
    stop();
    editor_.Paste();
    modified();
    playAfterEdit();
}

void TEditCommands::Delete() {
    stop();
    editor_.DeleteSelection();
    modified();
    playAfterEdit();
}

// ---- Selection ------------------------------------------------------------

void TEditCommands::SelectAll() {
    auto& p = editor_.Position();
    p.SetHasSelection(true);
    p.SetSelStart(0);
    p.SetSelEnd(p.Length());
}

void TEditCommands::SelectToStart() {
    auto& p = editor_.Position();
    const sw::SampleCount s = p.SelStart(), e = p.SelEnd(), c = p.CurrentPosition();
    p.SetHasSelection(true);
    p.SetSelStart(0);
    p.SetSelEnd(qBound<sw::SampleCount>(0, e - s + c, p.Length()));
}

void TEditCommands::SelectToEnd() {
    auto& p = editor_.Position();
    const sw::SampleCount s = p.SelStart(), e = p.SelEnd(), c = p.CurrentPosition();
    p.SetHasSelection(true);
    p.SetSelStart(qBound<sw::SampleCount>(0, e - s + c, p.Length()));
    p.SetSelEnd(p.Length());
}

void TEditCommands::SelectAllIfEmpty() {
    auto& p = editor_.Position();
    if (p.SelEnd() == p.SelStart()) SelectAll();
}

qint64 TEditCommands::SelStartMs() const {
    return qint64(const_cast<sw::TAudioEditor2&>(editor_).Position().SamplesToMs(
        const_cast<sw::TAudioEditor2&>(editor_).Position().SelStart()));
}
qint64 TEditCommands::SelEndMs() const {
    auto& p = const_cast<sw::TAudioEditor2&>(editor_).Position();
    return qint64(p.SamplesToMs(p.SelEnd()));
}
qint64 TEditCommands::LengthMs() const {
    auto& p = const_cast<sw::TAudioEditor2&>(editor_).Position();
    return qint64(p.SamplesToMs(p.Length()));
}

void TEditCommands::SelectSpecifiedTime() {
    stop();
    qint64 start = SelStartMs(), end = SelEndMs();
    if (!edit_dialogs::AskSelection(owner_, start, end, LengthMs())) return;
    auto& p = editor_.Position();
    p.SetHasSelection(true);
    p.SetSelStart(p.MsToSamples(double(start)));
    p.SetSelEnd(p.MsToSamples(double(end)));
}

bool TEditCommands::ApplyTimeField(TimeField field, const QString& text) {
    const qint64 c = ParseTimeText(text);
    if (c < 0) return false;
    qint64 start = SelStartMs(), end = SelEndMs();
    ApplyTypedTime(field, c, LengthMs(), start, end);
    auto& p = editor_.Position();
    p.SetHasSelection(true);
    p.SetSelStart(p.MsToSamples(double(start)));
    p.SetSelEnd(p.MsToSamples(double(end)));
    if (start == end) p.SetHasSelection(false);
    return true;
}

// ---- Structural edits -----------------------------------------------------

void TEditCommands::Crop() {
    stop();
    auto& p = editor_.Position();
    if (p.SelEnd() == p.SelStart()) {
        sw::ShowError("You must select an audio part before this operstion.", owner_);
        return;
    }
    editor_.BeginEdit();
    try {
        const sw::AudioClip copy = editor_.CopyToArray(p.SelEnd() - p.SelStart());
        SelectAll();
        editor_.DeleteSelection();
        editor_.PasteArray(copy);
    } catch (...) {
        editor_.EndEdit();
        throw;
    }
    editor_.EndEdit();
    modified();
}

void TEditCommands::TrimStart() {
    stop();
    SelectToStart();
    editor_.DeleteSelection();
    modified();
}

void TEditCommands::TrimEnd() {
    stop();
    SelectToEnd();
    editor_.DeleteSelection();
    modified();
}

void TEditCommands::SilenceSel() {
    stop();
    editor_.Transform().SilenceSelection();
    modified();
}

void TEditCommands::InsertSilence(Where where) {
    stop();
    QString text;
    if (!edit_dialogs::AskInsertSilence(owner_, vars_.InsertSilenceTime, text)) return;
    const int n = StrToInt(text);
    vars_.InsertSilenceTime = n;
    if (n == 0) return;
    auto& p = editor_.Position();
    p.SetHasSelection(false);
    if (where == Where::Begin) p.SetCurrentPosition(0);
    else if (where == Where::End) p.SetCurrentPosition(p.Length());
    editor_.Transform().InsertSilence(n);
    modified();
    playAfterEdit();
}

void TEditCommands::Repeat() {
    stop();
    QString text;
    if (!edit_dialogs::AskRepeat(owner_, text)) return;
    SelectAllIfEmpty();
    const int n = StrToInt(text);
    if (n == 0) return;
    auto& p = editor_.Position();
    const sw::SampleCount len = p.SelEnd() - p.SelStart();
    const sw::AudioClip copy = editor_.CopyToArray(len);
    editor_.BeginEdit();
    try {
        for (int i = 0; i < n; ++i) {
            p.SetCurrentPosition(p.CurrentPosition() + len);
            editor_.PasteArray(copy);
        }
    } catch (...) {
        editor_.EndEdit();
        throw;
    }
    editor_.EndEdit();
    modified();
    playAfterEdit();
}

bool TEditCommands::askMixAndPad(const std::function<qint64()>& mixLength, const QString& file) {
    auto& p = editor_.Position();
    const sw::SampleCount s = p.SelStart(), e = p.SelEnd();
    edit_dialogs::PasteMixValues v;
    v.selectPart = QString::number(vars_.SelectePartPercent);
    v.audioInBuffer = QString::number(vars_.AudioInBufferPercent);
    if (p.Length() == 0) {
        vars_.IncreaseSelection = false;
        v.increaseEnabled = false;
    }
    v.increaseSelection = vars_.IncreaseSelection;
    if (!edit_dialogs::AskPasteMix(owner_, v)) return false;
    if (!file.isEmpty()) vars_.LastOpenDir = QDir::toNativeSeparators(QFileInfo(file).absolutePath()) + "/";
    vars_.SelectePartPercent = StrToInt(v.selectPart);
    vars_.AudioInBufferPercent = StrToInt(v.audioInBuffer);
    vars_.IncreaseSelection = v.increaseSelection;
    const qint64 f = mixLength();
    if (!vars_.IncreaseSelection && e - s < f) {
        // Pads the selection with silence to the mixed audio's length.
        p.SetHasSelection(false);
        p.SetCurrentPosition(p.SelEnd());
        editor_.Transform().InsertSilence(p.SamplesToMs(f + s - e));
        p.SetHasSelection(true);
        p.SetSelStart(s);
        p.SetSelEnd(s + f);
    }
    return true;
}

void TEditCommands::MixFile() {
    stop();
    sw::FileDialogRequest r;
    r.kind = sw::FileDialogRequest::Open;
    r.caption = "Open";
    r.directory = vars_.LastOpenDir;
    r.filter = sw::QtFilterFromPipes(kOpenDialogFilter);
    const QString file = sw::Dialogs().GetFile(r, owner_);
    if (file.isEmpty()) return;
    sw::TAudioInformation2 info(&editor_);
    const auto length = [&]() -> qint64 {
        sw::WaitCursor wait;
        info.InfoOpen(file.toStdString());
        return info.InfoLength();
    };
    if (!askMixAndPad(length, file)) return;
    editor_.MixFile(file.toStdString(), vars_.AudioInBufferPercent, vars_.SelectePartPercent);
    modified();
    playAfterEdit();
}

void TEditCommands::PasteMix() {
    stop();
    if (!askMixAndPad([this] { return clippedLength_; }, QString())) return;
    editor_.MixPaste(vars_.AudioInBufferPercent, vars_.SelectePartPercent);
    modified();
    playAfterEdit();
}

// ---- Channel scope --------------------------------------------------------

namespace {
void Scope(sw::TAudioEditor2& e, bool left, bool right) {
    auto& c = e.Channel();
    c.SelectChannel(1);
    c.SetChannelEnabled(left);
    c.SelectChannel(2);
    c.SetChannelEnabled(right);
}
}  // namespace

void TEditCommands::LeftChannel() { Scope(editor_, true, false); }
void TEditCommands::RightChannel() { Scope(editor_, false, true); }
void TEditCommands::BothChannels() { Scope(editor_, true, true); }

// ---- Positioning ----------------------------------------------------------

void TEditCommands::GoToStart() {
    stop();
    auto& p = editor_.Position();
    p.SetHasSelection(false);
    p.SetCurrentPosition(0);
    EnsureCursorVisible();
}

void TEditCommands::GoToEnd() {
    stop();
    auto& p = editor_.Position();
    p.SetHasSelection(false);
    p.SetCurrentPosition(p.Length());
    EnsureCursorVisible();
}

void TEditCommands::RewindStep() {
    auto& p = editor_.Position();
    p.SetHasSelection(false);
    const sw::SampleCount c = p.CurrentPosition();
    p.SetCurrentPosition(c <= kStep ? 0 : c - kStep);
}

void TEditCommands::ForwardStep() {
    auto& p = editor_.Position();
    p.SetHasSelection(false);
    const sw::SampleCount c = p.CurrentPosition();
    p.SetCurrentPosition(c > p.Length() - kStep ? p.Length() : c + kStep);
}

void TEditCommands::EnsureCursorVisible() {
    auto& p = editor_.Position();
    const sw::SampleCount s = p.ViewStart(), e = p.ViewEnd(), c = p.CurrentPosition();
    if (s <= c && c <= e) return;
    const sw::SampleCount span = e - s;
    if (c < s) {
        p.SetViewStart(c - span <= 0 ? 0 : c - span);
        p.SetViewEnd(p.ViewStart() + span);
    } else {
        p.SetViewEnd(c + span < p.Length() ? c + span : p.Length());
        p.SetViewStart(p.ViewEnd() - span);
    }
    if (hooks.refresh) hooks.refresh();
}
