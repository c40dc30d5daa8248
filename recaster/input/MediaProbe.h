#pragma once
// The decoder side of the media layer: opens a media file with libavformat,
// reports its streams and facts, and decodes one video frame into a picture
// for a thumbnail. One file is open at a time. Every operation checks its
// state and reports failure instead of crashing on broken input; the text
// of the last failure is in LastErrorText.
#include <QImage>
#include <QString>
#include <cstdint>
#include <limits>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace rc {

// Durations and times in microseconds; this value means "unknown".
inline constexpr int64_t kNoValue = std::numeric_limits<int64_t>::min();

struct TMediaFileInfo {
    int64_t startTime = kNoValue;  // microseconds
    int64_t duration = kNoValue;   // microseconds
    int64_t bitRate = 0;           // whole file, bits per second
    QString formatName;            // demuxer short name
};

struct TVideoStreamInfo {
    QString codecName;
    int64_t bitRate = 0;           // bits per second, 0 when not stored
    int width = 0;
    int height = 0;
    double displayAspectRatio = 0; // width / height as shown, 0 when unknown
    int frameRateNum = 0;          // frame rate as a fraction, 0/0 when unknown
    int frameRateDen = 0;
    double FrameRate() const { return frameRateDen > 0 ? double(frameRateNum) / frameRateDen : 0.0; }
};

struct TAudioStreamInfo {
    QString codecName;
    int64_t bitRate = 0;
    int sampleRate = 0;
    int channels = 0;
};

class TMediaDecoder {
public:
    TMediaDecoder();
    ~TMediaDecoder();
    TMediaDecoder(const TMediaDecoder&) = delete;
    TMediaDecoder& operator=(const TMediaDecoder&) = delete;

    // Opens the file (an empty format name detects the format) and reads its
    // stream facts. Fails for files with neither an audio nor a video
    // stream. An open file is closed first.
    bool OpenMediaFile(const QString& path, const QString& formatName = {});
    bool IsOpen() const { return fmt_ != nullptr; }
    // The message of the last failure, naming the file ("path: reason").
    QString LastErrorText() const;
    // The reason alone ("Invalid data found when processing input").
    QString LastErrorReason() const { return error_; }
    QString FileName() const { return path_; }
    // Size of the open file in bytes (0 when none is open).
    int64_t FileSize() const { return fileSize_; }

    // First video stream (cover pictures of audio files do not count) and
    // first audio stream; negative when absent or when no file is open.
    int VideoStreamNo() const { return videoStream_; }
    int AudioStreamNo() const { return audioStream_; }

    bool QueryFileInfo(TMediaFileInfo& info);
    bool QueryVideoStream(int stream, TVideoStreamInfo& info);
    bool QueryAudioStream(int stream, TAudioStreamInfo& info);

    // Seeks to the key frame at or before `position` microseconds, counted
    // from the start of the file.
    bool SeekPosition(int64_t position);
    // Decodes the next frame of the video stream.
    bool DecodeVideoFrame(int stream);
    // Copies the last decoded frame into `bitmap` as 32-bit RGB, shown at
    // its display aspect ratio and scaled down to fit maxWidth x maxHeight
    // when those are positive.
    bool FrameToBitmap(QImage& bitmap, int maxWidth = 0, int maxHeight = 0);
    void CloseMediaFile();

private:
    bool Fail(const QString& reason);
    bool FailAv(const QString& what, int averror);
    bool OpenVideoDecoder(int stream);

    QString path_;
    QString error_;
    AVFormatContext* fmt_ = nullptr;
    AVCodecContext* video_ = nullptr;
    int videoDecoderStream_ = -1;
    bool videoDrained_ = false;  // the decoder was sent the end of stream
    AVFrame* frame_ = nullptr;
    bool haveFrame_ = false;
    AVPacket* packet_ = nullptr;
    SwsContext* sws_ = nullptr;
    int videoStream_ = -1;
    int audioStream_ = -1;
    int64_t fileSize_ = 0;
};

}  // namespace rc
