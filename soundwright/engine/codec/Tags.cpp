// Tags through TagLib: the file type is taken from the extension when
// reading, and from the output format when an encoder tags its own file.
#include "Tags.h"

#include <taglib/asffile.h>
#include <taglib/fileref.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>

#include "../EngineTypes.h"
#include "FFmpegUtil.h"
#include "OutputFormat.h"
#include "TagLibUtil.h"

namespace sw {

namespace {

AudioTags FromTag(const TagLib::Tag& t) {
    AudioTags tags;
    tags.Title = t.title().to8Bit(true);
    tags.Artist = t.artist().to8Bit(true);
    tags.Album = t.album().to8Bit(true);
    tags.Comment = t.comment().to8Bit(true);
    const TagLib::String genre = t.genre();
    if (!genre.isEmpty()) {
        const int index = TagLib::ID3v1::genreIndex(genre);
        tags.Genre = index >= 0 && index <= 147 ? index : -1;
    }
    tags.Year = int(t.year());
    return tags;
}

[[noreturn]] void CannotTag(const std::string& path) {
    throw EngineError("Cannot write the tags of \"" + path + "\".");
}

}  // namespace

AudioTags ReadTags(const std::string& path) {
    if (codec::LowerExtension(path) == ".wav") {
        TagLib::RIFF::WAV::File f(path.c_str(), false);
        if (!f.isValid()) return {};
        if (f.hasID3v2Tag() && !f.ID3v2Tag()->isEmpty()) return FromTag(*f.ID3v2Tag());
        if (f.hasInfoTag()) return FromTag(*f.InfoTag());
        return {};
    }
    TagLib::FileRef ref(path.c_str(), false);
    if (ref.isNull() || !ref.tag()) return {};
    return FromTag(*ref.tag());
}

void WriteTagsForFormat(const std::string& path, int formatCode, const AudioTags& tags) {
    switch (formatCode) {
    case FormatWav: {
        TagLib::RIFF::WAV::File f(path.c_str(), false);
        if (!f.isValid()) CannotTag(path);
        codec::FillTag(*f.ID3v2Tag(), tags);
        codec::FillTag(*f.InfoTag(), tags);
        if (!f.save(TagLib::RIFF::WAV::File::AllTags, TagLib::File::StripOthers, TagLib::ID3v2::v3))
            CannotTag(path);
        return;
    }
    case FormatMp3: {
        TagLib::MPEG::File f(path.c_str(), false);
        if (!f.isValid()) CannotTag(path);
        codec::FillTag(*f.ID3v2Tag(true), tags);
        codec::FillTag(*f.ID3v1Tag(true), tags);
        if (!f.save(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                    TagLib::ID3v2::v3))
            CannotTag(path);
        return;
    }
    case FormatOgg: {
        TagLib::Ogg::Vorbis::File f(path.c_str(), false);
        if (!f.isValid()) CannotTag(path);
        codec::FillTag(*f.tag(), tags);
        if (!f.save()) CannotTag(path);
        return;
    }
    case FormatWma: {
        TagLib::ASF::File f(path.c_str(), false);
        if (!f.isValid()) CannotTag(path);
        codec::FillTag(*f.tag(), tags);
        if (!f.save()) CannotTag(path);
        return;
    }
    default: {
        TagLib::FileRef ref(path.c_str(), false);
        if (ref.isNull() || !ref.tag()) CannotTag(path);
        codec::FillTag(*ref.tag(), tags);
        if (!ref.save()) CannotTag(path);
    }
    }
}

void WriteTags(const std::string& path, const AudioTags& tags) {
    WriteTagsForFormat(path, FormatCodeForPath(path), tags);
}

std::string GenreName(int index) {
    if (index < 0 || index > 147) return {};
    return TagLib::ID3v1::genre(index).to8Bit(true);
}

}  // namespace sw
