#pragma once
// Tags of an audio file (title, artist, ...) read and written through TagLib.
#include <string>

namespace sw {

struct AudioTags {
    std::string Title;
    std::string Artist;
    std::string Album;
    std::string Comment;
    int Genre = -1;   // ID3v1 genre index 0..147, -1 = none
    int Year = 0;     // 0 = none

    bool operator==(const AudioTags&) const = default;
};

// Reads the tags of a file; a file without tags (or one TagLib cannot parse)
// gives empty tags, never an error.
AudioTags ReadTags(const std::string& path);

// Writes the tags into an existing file; throws EngineError when the file
// cannot be tagged. WAV gets RIFF INFO and ID3v2, MP3 ID3v2 (+v1), OGG Vorbis
// comments, WMA ASF attributes.
void WriteTags(const std::string& path, const AudioTags& tags);

// The same for a file whose type is given by a save format code (FormatWav,
// FormatMp3, FormatOgg, FormatWma) instead of its extension; other codes go by
// the extension.
void WriteTagsForFormat(const std::string& path, int formatCode, const AudioTags& tags);

// ID3v1 genre names, 0..147; "" outside.
std::string GenreName(int index);

}  // namespace sw
