#pragma once
// Moving AudioTags into and out of TagLib's generic tag interface.
#include <taglib/tag.h>

#include "Tags.h"

namespace sw::codec {

inline TagLib::String ToTagString(const std::string& s) { return TagLib::String(s, TagLib::String::UTF8); }

inline void FillTag(TagLib::Tag& t, const AudioTags& tags) {
    t.setTitle(ToTagString(tags.Title));
    t.setArtist(ToTagString(tags.Artist));
    t.setAlbum(ToTagString(tags.Album));
    t.setComment(ToTagString(tags.Comment));
    t.setGenre(ToTagString(GenreName(tags.Genre)));
    t.setYear(tags.Year > 0 ? unsigned(tags.Year) : 0u);
}

}  // namespace sw::codec
