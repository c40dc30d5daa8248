#include "AudioClip.h"

#include <algorithm>

namespace sw {

PlanarBuffer AudioClip::ToPlanar() const {
    PlanarBuffer buf;
    buf.sampleRate = sampleRate;
    buf.resize(ChannelCount(), Length());
    for (std::size_t c = 0; c < channels.size(); ++c)
        channels[c].Read(0, Length(), buf.channels[c].data());
    return buf;
}

AudioClip AudioClip::FromPlanar(const PlanarBuffer& buf, BlockStore& store) {
    AudioClip clip;
    clip.sampleRate = buf.sampleRate;
    const SampleCount frames = buf.frames();
    clip.channels.reserve(buf.channels.size());
    for (const auto& ch : buf.channels) {
        SequenceBuilder b(store);
        b.Append(ch.data(), std::min<SampleCount>(frames, SampleCount(ch.size())));
        Sequence s = b.Finish();
        // Channels of unequal length are padded with silence to the first one's.
        if (s.Length() < frames) s = s.Append(Sequence::Silence(frames - s.Length()));
        clip.channels.push_back(std::move(s));
    }
    return clip;
}

}  // namespace sw
