#pragma once
// Block-backed audio held outside a document: the result of CopyToArray, the
// editor's clipboard, what PasteArray inserts. Copies share blocks, so a clip
// of a four-hour selection costs no sample memory.
#include <memory>
#include <vector>

#include "../EngineTypes.h"
#include "Sequence.h"

namespace sw {

struct AudioClip {
    int sampleRate = 44100;
    std::vector<Sequence> channels;   // equal lengths

    int ChannelCount() const { return int(channels.size()); }
    SampleCount Length() const { return channels.empty() ? 0 : channels[0].Length(); }
    bool Empty() const { return Length() == 0; }

    // Flat copies for in-memory processing (effect preview, player).
    PlanarBuffer ToPlanar() const;
    static AudioClip FromPlanar(const PlanarBuffer& buf, class BlockStore& store);
};

}  // namespace sw
