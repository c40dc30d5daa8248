#pragma once
// One conversion job: decodes the inputs in order and encodes them as one
// output with the settings of a TOutputOptions, the way the command-line
// tool applies the same options.
#include <QImage>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "encoder/EncoderTypes.h"

namespace rc {

struct TTranscodeJob {
    std::vector<TInputOptions> Inputs;
    TOutputOptions Output;
    QString OutputPath;
    const std::atomic<bool>* Stop = nullptr;
    std::function<void(int64_t position, int64_t duration)> Progress;  // microseconds
    std::function<void(const QString&)> Note;
    // While set, the pictures being encoded go to Frame (at most every 500 ms).
    const std::atomic<bool>* Preview = nullptr;
    std::function<void(const QImage&)> Frame;
};

// True when the output was written completely. On failure or stop the
// partly written output is removed and `error` tells why.
bool Transcode(const TTranscodeJob& job, QString* error);

// Checks that a container and the named encoders exist for these settings.
bool ValidateOutput(const QString& path, const TOutputOptions& options, QString* error);

}  // namespace rc
