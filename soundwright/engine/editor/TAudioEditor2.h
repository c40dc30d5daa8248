#pragma once
// The open document of the editor: samples, selection and cursor, undo,
// markers, channel scope, tags, saving and playback. No widget code here; the
// waveform view draws from Peaks().
//
// Every call runs on the calling (window) thread. Long operations call
// OnBlockOperation(percent) as they go and OnEndOperation() when they end,
// also when they fail (then they throw EngineError after OnEndOperation).
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
    std::string Description() const;          // e.g. "44100 Hz, 16 bits, Stereo"
private:
    TAudioEditor2& e_;
};

class IAudioEditor2Channel {
public:
    explicit IAudioEditor2Channel(TAudioEditor2& e) : e_(e) {}
    void SelectChannel(int channel);          // 1-based
    bool ChannelEnabled() const;              // of the selected channel
    void SetChannelEnabled(bool enabled);
private:
    TAudioEditor2& e_;
    int selected_ = 1;
};

class IAudioEditor2Markers {
public:
    explicit IAudioEditor2Markers(TAudioEditor2& e) : e_(e) {}
    // Adds a marker; indexes are 1-based and follow position order of adding
    // (a new marker's index is MarkerCount() right after adding).
    void AddMarker(SampleCount position, SampleCount length, const std::string& name,
                   const std::string& kind, int a = 0, int b = 0, int c = 0, int d = 0, int f = 0);
    int MarkerCount() const;
    void SelectMarker(int index);             // makes the marker current
    std::string MarkerName() const;
    std::string MarkerKind() const;
    SampleCount MarkerPosition() const;
    SampleCount MarkerLength() const;
    int CurrentIndex() const;                 // 0 when none is current
    void DeleteMarker();                      // the current marker
private:
    TAudioEditor2& e_;
};

// Effects and generators acting on the selection of the enabled channels.
class IAudioEditor2Transform {
public:
    explicit IAudioEditor2Transform(TAudioEditor2& e) : e_(e) {}
    void InsertSilence(double ms);   // at the cursor
    void SilenceSelection();
    // Runs `process` over the selection (the whole document without one) of
    // every enabled channel, block by block, as one undo step. `process` gets
    // the channel index and a planar slice of the selection; it may change
    // the samples in place. For effects that change the length, ApplyWhole.
    using BlockProcess = std::function<void(int channel, float* samples, SampleCount frames, SampleCount offsetInSelection)>;
    void ApplyInPlace(const BlockProcess& process);
    // Replaces the selection of the enabled channels with `fn`'s result
    // (which may have another length), as one undo step.
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
    void SaveFile(const std::string& path, bool selectionOnly, int formatCode);
    void CloseFile();
    bool IsOpen() const;

    // Editing (each one undo step).
    void Cut();
    void Copy();
    void Paste();
    void DeleteSelection();
    void Undo();
    void Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    void InsertFile(const std::string& path);               // at the cursor
    void MixFile(const std::string& path, int insertedPercent, int selectionPercent);
    void MixPaste(int insertedPercent, int selectionPercent);
    void Resample(int sampleRate, int channels);
    AudioClip CopyToArray(SampleCount length);              // from SelStart (or the cursor)
    void PasteArray(const AudioClip& clip);                 // at the cursor; cursor stays at the insertion point
    void BeginEdit();
    void EndEdit();
    bool ClipboardEmpty() const;

    // Playback. mode 1 selection (or from the cursor to the end without one),
    // 2 from the cursor (or selection start) to the end, 3 loop the selection
    // (or the whole document).
    void Play(int mode);
    void Pause();
    void Resume();
    void Stop();
    int PlayState() const;   // 0 idle, 1 playing, 2 recording, 5 paused

    // Waveform data for the view: min/max of channel `ch` over [pos, pos+count).
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
