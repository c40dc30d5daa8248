#pragma once
// The effect-preview player: plays one sample array once through the
// output device and reports when it has been heard to its end.
#include <functional>

#include "../EngineTypes.h"
#include "PlaybackEngine.h"

namespace sw {

class TAudioPlayer2 {
public:
    // Values of DeviceError().
    enum : int {
        DeviceOk = 0,
        DeviceMissing = 1,        // no output device (no sound server)
        DeviceFormatRefused = 2,  // the device takes neither this format nor a fallback
        DeviceBadFormat = 3,      // rate or channel count not positive
        DeviceStartFailed = 4,    // the device could not be started
    };

    TAudioPlayer2();
    ~TAudioPlayer2();
    TAudioPlayer2(const TAudioPlayer2&) = delete;
    TAudioPlayer2& operator=(const TAudioPlayer2&) = delete;

    // The format of the arrays that follow.
    void SetPlayFormat(int sampleRate, int channels);
    // Checks that the output device is there and takes the play format;
    // the result is in DeviceError().
    void OpenDevice();
    int DeviceError() const { return error_; }

    // Plays the array once, from its start to its end. The frames are
    // copied, so the caller may release the array at once. A channel count
    // that differs from the play format is mapped to it (mono is spread,
    // extra channels are dropped). Returns false (DeviceError() tells why)
    // when playback could not start; a running array is stopped first,
    // without OnEndPlay.
    bool PlayArray(const PlanarBuffer& samples);
    // Stops; no OnEndPlay follows.
    void ClosePlayer();
    bool Playing() const;

    std::function<void()> OnEndPlay;   // the array has been heard to its end

private:
    PlaybackEngine engine_;
    int rate_ = 44100;
    int channels_ = 2;
    int error_ = DeviceOk;
};

}  // namespace sw
