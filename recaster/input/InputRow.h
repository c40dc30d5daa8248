#pragma once
// What one row of the input grid holds, and how a probed file turns into
// those cells: the column indexes, the texts of durations, bit rates and
// names, the thumbnail choice, and the file filters of the add and drop
// roads. Plain functions, so the run and the tests use them without a grid.
#include <QFontMetrics>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <cstdint>
#include <optional>

class QMimeData;

namespace rc {

class TMediaDecoder;

// Column indexes of the input grid.
enum TInputColumn : int {
    ColMainImage = 0,      // thumbnail (QImage)
    ColFileMinName = 1,    // path shortened to fit
    ColDuration = 2,
    ColBitrate = 3,
    ColDimension = 4,
    ColFileFullName = 5,   // full path: the run and Play use it
    ColFileSize = 6,
    ColVideoEncoder = 7,
    ColAudioChannels = 8,
    ColAudioSampleRate = 9,
    ColAudioBitrate = 10,
    ColAudioEncoder = 11,
    ColFrameRate = 12,
    ColRealDuration = 13,  // microseconds as decimal text, "0" when unknown
    ColWidth = 14,         // int
    ColHeight = 15,        // int
    ColAspectRatio = 16,   // double
    InputColumnCount = 17
};

// Thumbnail cell size.
inline constexpr int kThumbnailWidth = 128;
inline constexpr int kThumbnailHeight = 88;
// Width the shortened path must fit, in the window's font.
inline constexpr int kMinNameWidth = 255;

// "hh:mm:ss.mmm" of microseconds (hours not wrapped), or
// "Duration is not preseted" when unknown.
QString DurationText(int64_t microseconds);
// "%d Kbps" of bits per second div 1000, or "Bit rate is not preseted" below 1.
QString BitRateText(int64_t bitsPerSecond);
// "File size: %d M" with the size in whole megabytes (MiB).
QString FileSizeText(int64_t bytes);
// The path with folders after the root replaced by "..." from the left
// until it fits `maxWidth`; a file name that alone is too wide is elided.
QString MinimizeName(const QString& path, const QFontMetrics& metrics, int maxWidth);

// Where the thumbnail is taken: half the duration, or no seek at all (decode
// from the start) when the duration is unknown or not positive.
std::optional<int64_t> ThumbnailSeekTarget(int64_t duration);

// The built-in picture of audio-only rows.
QImage AudioIconImage();

struct TInputRow {
    QVector<QVariant> cells = QVector<QVariant>(InputColumnCount);
    bool audioOnly = false;
};

// Probes one file with an open-capable decoder and fills the row. On
// failure returns false and leaves the decoder's error texts in place. The
// decoder is closed on return either way.
bool ProbeInputFile(TMediaDecoder& decoder, const QString& path,
                    const QFontMetrics& nameMetrics, TInputRow& row);

// Lower-case extensions (with the dot) that dropped files may have.
const QStringList& AcceptedDropExtensions();
// The dropped names that are files (not folders) with an accepted extension.
QStringList FilterDroppedFiles(const QStringList& paths);
// Local file paths of a drag's data.
QStringList LocalPathsFromMime(const QMimeData* mime);

// The add-files dialog's filter as given ("Caption|*.A;*.B|...").
extern const char* const kOpenDialogFilter;
// The same filter in Qt's form, each pattern in upper and lower case so
// that it matches names regardless of case.
QString OpenDialogQtFilter();

}  // namespace rc
