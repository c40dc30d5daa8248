#pragma once
// Small helpers shared by the FFmpeg-based reader and the WMA writer.
#include <string>

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace sw::codec {

inline std::string AvErrorText(int err) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {0};
    av_strerror(err, buf, sizeof buf);
    return buf;
}

// Failures reach the user through EngineError; FFmpeg's own messages stay
// off the terminal unless someone raised or lowered the level on purpose.
inline void QuietFfmpegLog() {
    if (av_log_get_level() == AV_LOG_INFO) av_log_set_level(AV_LOG_FATAL);
}

// Lower-case extension with the dot (".mp3"), "" when there is none.
std::string LowerExtension(const std::string& path);

}  // namespace sw::codec
