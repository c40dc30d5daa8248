#pragma once
// Facts of an audio file without opening it as the document: its format, its
// length in frames at the rate of the editor it serves, and its tags, which
// it can copy into another file.
#include <memory>
#include <string>

#include "../EngineTypes.h"
#include "../codec/Tags.h"

namespace sw {

class TAudioEditor2;

class TAudioInformation2 {
public:
    // With an editor, InfoLength counts at the rate of its open document.
    explicit TAudioInformation2(TAudioEditor2* editor = nullptr);
    ~TAudioInformation2();

    // The rate InfoLength counts at when no editor (or no document) gives
    // one; 0 means the file's own rate.
    void SetReferenceRate(int rate) { referenceRate_ = rate; }

    // Opens a file for the reads below. Throws EngineError on a missing,
    // unreadable or damaged file; the previous file then stays open.
    void InfoOpen(const std::string& path);
    bool InfoIsOpen() const { return !path_.empty(); }

    // Frames the file yields at the reference rate: exactly the length an
    // insert or mix of the file into the editor's document has. The first
    // call decodes the file once to count its frames.
    SampleCount InfoLength();
    int InfoSampleRate() const { return rate_; }
    int InfoChannels() const { return channels_; }
    std::string InfoDescription() const { return description_; }
    const AudioTags& InfoTags() const { return tags_; }

    // Writes the tags of the opened file into `path`. Throws EngineError.
    void InfoWriteTo(const std::string& path);

private:
    TAudioEditor2* editor_;
    int referenceRate_ = 0;
    std::string path_;
    int rate_ = 0, channels_ = 0;
    SampleCount frames_ = -1;   // at the file's rate; -1 until counted
    std::string description_;
    AudioTags tags_;
};

}  // namespace sw
