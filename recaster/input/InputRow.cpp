#include "InputRow.h"

#include "MediaProbe.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QUrl>

namespace rc {

const char* const kOpenDialogFilter =
    "All Supported Formats|*.AVI;*.AVM;*.ASF;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.SWF;*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;|All Video Formats (all types)|*.AVI;*.AVM;*.ASF;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.SWF;|All Audio Formats (all types)|*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;|All Files|*.*";

QString DurationText(int64_t d) {
    if (d == kNoValue || d < 0) return QStringLiteral("Duration is not preseted");
    return QString::asprintf("%.2lld:%.2lld:%.2lld.%.3lld", (long long)(d / 3600000000LL),
                             (long long)((d / 60000000LL) % 60), (long long)((d / 1000000LL) % 60),
                             (long long)((d % 1000000LL) / 1000));
}

QString BitRateText(int64_t bitsPerSecond) {
    if (bitsPerSecond < 1) return QStringLiteral("Bit rate is not preseted");
    return QString::asprintf("%lld Kbps", (long long)(bitsPerSecond / 1000));
}

QString FileSizeText(int64_t bytes) {
    return QString::asprintf("File size: %lld M", (long long)(std::max<int64_t>(bytes, 0) / (1024 * 1024)));
}

QString MinimizeName(const QString& path, const QFontMetrics& fm, int maxWidth) {
    if (fm.horizontalAdvance(path) <= maxWidth) return path;
    const QString native = QDir::fromNativeSeparators(path);
    const int lastSep = native.lastIndexOf('/');
    if (lastSep < 0) return fm.elidedText(path, Qt::ElideMiddle, maxWidth);
    const QString name = native.mid(lastSep + 1);
    // Root ("/" or "C:/") and the folders between it and the name.
    QString root;
    QString rest = native.left(lastSep + 1);
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:/"));
    if (rest.startsWith('/')) {
        root = "/";
        rest = rest.mid(1);
    } else if (auto m = drive.match(rest); m.hasMatch()) {
        root = m.captured(0);
        rest = rest.mid(root.size());
    }
    QStringList dirs = rest.split('/', Qt::SkipEmptyParts);
    // Keep the first folder, then drop middle folders from the left.
    while (!dirs.isEmpty()) {
        dirs.removeFirst();
        QString candidate = root + ".../" + (dirs.isEmpty() ? QString() : dirs.join('/') + '/') + name;
        if (fm.horizontalAdvance(candidate) <= maxWidth) return candidate;
    }
    QString shortest = ".../" + name;
    if (fm.horizontalAdvance(shortest) <= maxWidth) return shortest;
    return fm.elidedText(name, Qt::ElideMiddle, maxWidth);
}

std::optional<int64_t> ThumbnailSeekTarget(int64_t duration) {
    if (duration == kNoValue || duration <= 0) return std::nullopt;
    return duration / 2;
}

QImage AudioIconImage() {
    QImage img(kThumbnailWidth, kThumbnailHeight, QImage::Format_ARGB32_Premultiplied);
    img.fill(QColor(0x2b, 0x4a, 0x6f));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, kThumbnailHeight);
    g.setColorAt(0, QColor(0x4a, 0x7d, 0xb8));
    g.setColorAt(1, QColor(0x1d, 0x33, 0x52));
    p.fillRect(img.rect(), g);
    // A pair of beamed notes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf3, 0xf6, 0xfa));
    p.drawEllipse(QPointF(50, 62), 10, 7.5);
    p.drawEllipse(QPointF(82, 56), 10, 7.5);
    p.fillRect(QRectF(57.5, 22, 4, 40), QColor(0xf3, 0xf6, 0xfa));
    p.fillRect(QRectF(89.5, 16, 4, 40), QColor(0xf3, 0xf6, 0xfa));
    QPainterPath beam;
    beam.moveTo(57.5, 22);
    beam.lineTo(93.5, 16);
    beam.lineTo(93.5, 25);
    beam.lineTo(57.5, 31);
    beam.closeSubpath();
    p.drawPath(beam);
    return img;
}

bool ProbeInputFile(TMediaDecoder& dec, const QString& path, const QFontMetrics& nameMetrics,
                    TInputRow& row) {
    row = TInputRow{};
    if (!dec.OpenMediaFile(path, QString())) return false;

    const int video = dec.VideoStreamNo();
    const int audio = dec.AudioStreamNo();
    TMediaFileInfo file;
    dec.QueryFileInfo(file);

    // Thumbnail: the built-in picture for audio, else a frame from the middle
    // (from the start when the length is unknown). A failed decode leaves it empty.
    QImage thumb;
    row.audioOnly = video < 0;
    if (row.audioOnly) {
        thumb = AudioIconImage();
    } else {
        if (const auto target = ThumbnailSeekTarget(file.duration)) dec.SeekPosition(*target);
        QImage frame;
        if (dec.DecodeVideoFrame(video) &&
            dec.FrameToBitmap(frame, kThumbnailWidth, kThumbnailHeight))
            thumb = frame;
    }
    row.cells[ColMainImage] = thumb;

    TVideoStreamInfo v;
    TAudioStreamInfo a;
    if (video >= 0) dec.QueryVideoStream(video, v);
    if (audio >= 0) dec.QueryAudioStream(audio, a);
    const bool knownDuration = file.duration != kNoValue && file.duration >= 0;

    auto& c = row.cells;
    c[ColFileMinName] = MinimizeName(path, nameMetrics, kMinNameWidth);
    c[ColDuration] = "Duration: " + DurationText(file.duration);
    if (row.audioOnly) {
        c[ColBitrate] = "Audio Bit rate: " + BitRateText(a.bitRate);
        c[ColDimension] = "Audio Encoder: " + a.codecName;
    } else {
        c[ColBitrate] = "Bit rate: " + BitRateText(v.bitRate);
        c[ColDimension] = QString::asprintf("Dimension: %d x %d", v.width, v.height);
    }
    c[ColFileFullName] = path;
    c[ColFileSize] = FileSizeText(dec.FileSize());
    c[ColVideoEncoder] = "Video encoder: " + v.codecName;
    c[ColAudioChannels] = "Channels: " + QString::number(a.channels);
    c[ColAudioSampleRate] = "Sample rate: " + QString::number(a.sampleRate) + " Hz";
    c[ColAudioBitrate] = "Bit rate: " + BitRateText(a.bitRate);
    c[ColAudioEncoder] = "Audio encoder: " + a.codecName;
    c[ColFrameRate] = "Frame rate: " + QString::number(v.FrameRate(), 'f', 2);
    c[ColRealDuration] = knownDuration ? QString::number(file.duration) : QStringLiteral("0");
    c[ColWidth] = v.width;
    c[ColHeight] = v.height;
    c[ColAspectRatio] = v.displayAspectRatio;

    dec.CloseMediaFile();
    return true;
}

const QStringList& AcceptedDropExtensions() {
    static const QStringList list = {
        ".mp3", ".aac", ".wav", ".wma", ".cda", ".flac", ".m4a", ".mid", ".mka", ".mp2", ".mpa",
        ".mpc", ".ape", ".ofr", ".ogg", ".ra",  ".wv",   ".tta", ".ac3", ".dts", ".avi", ".avm",
        ".asf", ".wmv", ".avs", ".flv", ".mkv", ".mov",  ".3gp", ".mp4", ".mpg", ".dat", ".ogm",
        ".vob", ".rm",  ".rmvb", ".ts", ".tp",  ".ifo",  ".nsv", ".swf"};
    return list;
}

QStringList FilterDroppedFiles(const QStringList& paths) {
    QStringList kept;
    for (const QString& p : paths) {
        const QFileInfo fi(p);
        if (p.isEmpty() || fi.isDir()) continue;
        const QString suffix = fi.suffix().toLower();
        if (suffix.isEmpty() || fi.fileName().endsWith('.')) continue;
        if (AcceptedDropExtensions().contains("." + suffix)) kept << p;
    }
    return kept;
}

QStringList LocalPathsFromMime(const QMimeData* mime) {
    QStringList paths;
    if (!mime || !mime->hasUrls()) return paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

namespace {
struct FilterEntry {
    QString caption;
    QStringList patterns;  // as given, upper case, "*.*" for all
};
QList<FilterEntry> FilterEntries() {
    QList<FilterEntry> out;
    const QStringList parts = QString::fromLatin1(kOpenDialogFilter).split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << FilterEntry{parts[i], parts[i + 1].split(';', Qt::SkipEmptyParts)};
    return out;
}
}  // namespace

QString OpenDialogQtFilter() {
    QStringList out;
    for (const FilterEntry& e : FilterEntries()) {
        QStringList patterns;
        for (const QString& p : e.patterns) {
            if (p == "*.*") {
                patterns << "*";  // every file, with or without an extension
                continue;
            }
            patterns << p;
            if (p.toLower() != p) patterns << p.toLower();
        }
        out << e.caption + " (" + patterns.join(' ') + ")";
    }
    return out.join(";;");
}

}  // namespace rc
