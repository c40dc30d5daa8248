#pragma once
// The records the encoder works with: what an input is, what an output
// should become, and how a task ended.
#include <QString>

namespace rc {

// The target presets of MPEG program streams.
enum TTargetType : int { TargetNone = 0, TargetVCD = 1, TargetSVCD = 2, TargetDVD = 3 };
enum TTargetNorm : int { NormAuto = 0, NormPAL = 1, NormNTSC = 2 };

struct TInputOptions {
    QString FileName;
    QString FormatName;  // empty: detect
};

// One output. Unset fields keep the values below and are not applied, so
// the input's size, rate and channels and the container's codecs remain.
struct TOutputOptions {
    QString FileName;
    QString FileExt;
    QString FormatName;
    QString AudioCodec;
    int AudioChannels = -1;
    int AudioSampleRate = -1;
    int AudioBitrate = -1;
    QString VideoCodec;
    QString VideoPreset;
    bool DisableVideo = false;
    QString FrameRate;
    QString FrameSize;
    QString AspectRatio;
    int VideoBitrate = -1;
    int VideoMaxRate = -1;
    int VideoMinRate = -1;
    int VideoBufferSize = -1;
    QString VideoTag;
    int TargetType = TargetNone;
    int TargetNorm = NormAuto;
    bool Join = false;
    QString ExtraOptions;  // name=value lines separated by CR LF

    bool operator==(const TOutputOptions&) const = default;
};

struct TTerminateInfo {
    int TaskIndex = -1;   // -1: the end of the whole run
    bool Finished = false;
    bool Exception = false;
    QString ExceptionMsg;
};

}  // namespace rc
