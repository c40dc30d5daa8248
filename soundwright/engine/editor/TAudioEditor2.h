#pragma once
// The open document of the editor: samples, selection and cursor, undo,
// markers, channel scope, tags, saving and playback. No widget code here; the
// waveform view draws from Peaks().
//
// Every call runs on the calling (window) thread. Long operations call
// OnBlockOperation(percent) as they go and OnEndOperation() when they end,
// also when they fail (then they throw EngineError after OnEndOperation).
//
// Selection and cursor: setting SelStart puts the cursor there too. Moving
// the cursor while HasSelection is false collapses SelStart and SelEnd onto
// it; clearing HasSelection alone keeps both readable. Edits work on the
// selection when HasSelection is set and SelEnd > SelStart, else at the
// cursor.
//
// Channel scope: edits and effects change the enabled channels only, and all
// channels always keep one length. Where an edit would change the length of
// the enabled channels only, the range is padded with silence instead:
// deleting silences the range in the enabled channels; inserting n frames
// inserts n frames of silence into the disabled ones at the same place;
// replacing d frames by n frames gives both sides max(d, n) frames (the
// enabled ones the new audio plus silence, the disabled ones their old audio
// plus silence). With every channel enabled, edits change the length.
//
// Markers live in the undo states, so undo and redo give back the positions
// edits gave them. Adding or deleting a marker is not an undo step: it is
// applied to every state of the history, so marker indexes stay stable.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../storage/AudioClip.h"
#include "../EngineTypes.h"
#include "../codec/OutputFormat.h"
#include "../codec/Tags.h"

namespace sw {

class TAudioEditor2;
class PlaybackEngine;
class ProgressScope;

class IAudioEditor2Position {
public:
    explicit IAudioEditor2Position(TAudioEditor2& e) : e_(e) {}
    SampleCount SelStart() const;
    SampleCount SelEnd() const;
    void SetSelStart(SampleCount v);   // clamped to 0..Length; keeps SelStart <= SelEnd by moving SelEnd
    void SetSelEnd(SampleCount v);     // clamped to 0..Length; keeps SelStart <= SelEnd by moving SelStart
    bool HasSelection() const;
    void SetHasSelection(bool v);      // false keeps SelStart/SelEnd readable
    SampleCount CurrentPosition() const;
    void SetCurrentPosition(SampleCount v);  // clamped to 0..Length
    SampleCount Length() const;
    SampleCount ViewStart() const;
    SampleCount ViewEnd() const;
    void SetViewStart(SampleCount v);
    void SetViewEnd(SampleCount v);
    SampleCount MsToSamples(double ms) const;     // at the document's rate, rounded
    double SamplesToMs(SampleCount samples) const;
private:
    TAudioEditor2& e_;
};

class IAudioEditor2FileInfo {
public:
    explicit IAudioEditor2FileInfo(TAudioEditor2& e) : e_(e) {}
    int SampleRate() const;
    int Channels() const;
    std::string Title() const;   void SetTitle(const std::string& v);
    std::string Artist() const;  void SetArtist(const std::string& v);
    std::string Album() const;   void SetAlbum(const std::string& v);
    int Genre() const;           void SetGenre(int v);
    int Year() const;            void SetYear(int v);
    std::string Comment() const; void SetComment(const std::string& v);
    std::string GenreName(int index) const;   // 0..147
    std::string Description() const;          // e.g. "44100 Hz, 32-bit float, Stereo"; "" without a document
private:
    TAudioEditor2& e_;
};

class IAudioEditor2Channel {
public:
    explicit IAudioEditor2Channel(TAudioEditor2& e) : e_(e) {}
    void SelectChannel(int channel);          // 1-based, 1..32; throws outside
    int SelectedChannel() const { return selected_; }
    bool ChannelEnabled() const;              // of the selected channel
    void SetChannelEnabled(bool enabled);     // kept across documents
private:
    TAudioEditor2& e_;
    int selected_ = 1;
};

class IAudioEditor2Markers {
public:
    explicit IAudioEditor2Markers(TAudioEditor2& e) : e_(e) {}
    // Adds a marker; indexes are 1-based and follow the order of adding
    // (a new marker's index is MarkerCount() right after adding). Position
    // and length are clamped to the document. Throws without a document.
    void AddMarker(SampleCount position, SampleCount length, const std::string& name,
                   const std::string& kind, int a = 0, int b = 0, int c = 0, int d = 0, int f = 0);
    int MarkerCount() const;
    void SelectMarker(int index);             // makes the marker current; throws outside 1..MarkerCount
    std::string MarkerName() const;
    std::string MarkerKind() const;
    SampleCount MarkerPosition() const;
    SampleCount MarkerLength() const;
    int CurrentIndex() const;                 // 0 when none is current
    // A marker read without making it current (views draw them all).
    struct MarkerInfo { SampleCount position = 0, length = 0; std::string name, kind; };
    MarkerInfo MarkerAt(int index) const;     // throws outside 1..MarkerCount
    void DeleteMarker();                      // the current marker (none current: nothing)
private:
    TAudioEditor2& e_;
};

// Effects and generators acting on the selection of the enabled channels.
class IAudioEditor2Transform {
public:
    explicit IAudioEditor2Transform(TAudioEditor2& e) : e_(e) {}
    void InsertSilence(double ms);   // at the cursor; the cursor stays at the insertion point
    void SilenceSelection();         // nothing without a selection
    // Runs `process` over the selection (the whole document without one) of
    // every enabled channel, block by block, as one undo step. `process` gets
    // the channel index and a planar slice of the selection; it may change
    // the samples in place. For effects that change the length, ApplyWhole.
    using BlockProcess = std::function<void(int channel, float* samples, SampleCount frames, SampleCount offsetInSelection)>;
    void ApplyInPlace(const BlockProcess& process);
    // Replaces the selection of the enabled channels with `fn`'s result
    // (which may have another length), as one undo step. `selection` holds
    // the enabled channels in order; the result must have as many channels.
    using WholeProcess = std::function<PlanarBuffer(const PlanarBuffer& selection)>;
    void ApplyWhole(const WholeProcess& fn);
private:
    TAudioEditor2& e_;
};

class TAudioEditor2 {
public:
    TAudioEditor2();
    ~TAudioEditor2();
    TAudioEditor2(const TAudioEditor2&) = delete;
    TAudioEditor2& operator=(const TAudioEditor2&) = delete;

    // Document.
    void CreateNew(int sampleRate, int channels);
    void OpenFile(const std::string& path, int mode = 0);   // throws; on failure the editor is left as before
    // format code: 1 WAV, 2 MP3, 6 OGG, 11 WMA, with the settings of FileFormat().
    // selectionOnly without a selection writes the whole document. The old
    // file stays intact when the save fails.
    void SaveFile(const std::string& path, bool selectionOnly, int formatCode);
    void CloseFile();
    bool IsOpen() const;

    // Editing (each one undo step). Without a document they throw.
    void Cut();               // Copy, then DeleteSelection
    void Copy();              // the selection of all channels into the clipboard; nothing without one
    void Paste();             // replaces the selection (or inserts at the cursor); the cursor ends after the pasted audio
    void DeleteSelection();   // nothing without a selection
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // Identifies the current undo state: every edit and every new document
    // gives a new value; Undo and Redo give back the value of the state they
    // return to. Lets a caller tell whether the audio equals a saved state.
    std::uint64_t StateSerial() const;
    void InsertFile(const std::string& path);               // at the cursor; the cursor stays at the insertion point
    // Mixes over the selection (from the cursor without one) for the shorter
    // of the two lengths: inserted * insertedPercent/100 + document *
    // selectionPercent/100, clipped to [-1, 1], in the enabled channels.
    void MixFile(const std::string& path, int insertedPercent, int selectionPercent);
    void MixPaste(int insertedPercent, int selectionPercent);
    void Resample(int sampleRate, int channels);            // all channels; markers and selection are scaled
    AudioClip CopyToArray(SampleCount length);              // from SelStart (or the cursor); shares blocks
    void PasteArray(const AudioClip& clip);                 // at the cursor; cursor stays at the insertion point
    void BeginEdit();
    void EndEdit();
    bool ClipboardEmpty() const;
    SampleCount ClipboardLength() const;   // at the clipboard's own rate

    // Playback. mode 1 selection (or from the cursor to the end without one),
    // 2 from the cursor (or selection start) to the end, 3 loop the selection
    // (or the whole document). A cursor at the end plays from the start. An
    // empty document plays nothing. Throws EngineError when no output device
    // opens. When play stops or ends, the cursor returns to where it started.
    void Play(int mode);
    void Pause();
    void Resume();
    void Stop();
    int PlayState() const;   // 0 idle, 1 playing, 2 recording, 5 paused

    // Waveform data for the view: min/max of channel `ch` (0-based) over [pos, pos+count).
    MinMax Peak(int ch, SampleCount pos, SampleCount count) const;
    // Reads frames of one channel (for views, analysis, tests).
    SampleCount ReadChannel(int ch, SampleCount pos, SampleCount count, float* out) const;

    // Sub-objects.
    IAudioEditor2Position& Position() { return position_; }
    IAudioEditor2FileInfo& FileInfo() { return fileInfo_; }
    IAudioEditor2Channel& Channel() { return channel_; }
    IAudioEditor2Markers& Markers() { return markers_; }
    IAudioEditor2Transform& Transform() { return transform_; }
    sw::FileFormat& FileFormat() { return format_; }

    // The work folder for sample blocks.
    void SetTempDirectory(const std::string& dir);
    std::string TempDirectory() const;

    // Events.
    std::function<void(int percent)> OnBlockOperation;
    std::function<void()> OnEndOperation;
    std::function<void()> OnChangePosition;
    std::function<void(SampleCount position)> OnChangePlayPosition;
    std::function<void(int levelLeft, int levelRight)> OnMeter;   // percent 0..100
    std::function<void()> OnEndPlay;

    struct State;   // internal
private:
    friend class IAudioEditor2Position;
    friend class IAudioEditor2FileInfo;
    friend class IAudioEditor2Channel;
    friend class IAudioEditor2Markers;
    friend class IAudioEditor2Transform;
    friend class ProgressScope;
    void RequireOpen() const;
    void NotifyPosition();
    void Commit(State next);   // the new current state, as one undo step (or part of the open group)
    void FitView(bool wholeView);
    void ResetDocument(State s, bool open);
    void InsertClip(const AudioClip& clip, bool cursorAfter);
    void MixClip(const AudioClip& clip, int insertedPercent, int selectionPercent, ProgressScope& progress);
    struct Impl;
    std::unique_ptr<Impl> d_;
    IAudioEditor2Position position_{*this};
    IAudioEditor2FileInfo fileInfo_{*this};
    IAudioEditor2Channel channel_{*this};
    IAudioEditor2Markers markers_{*this};
    IAudioEditor2Transform transform_{*this};
    sw::FileFormat format_;
};

}  // namespace sw
