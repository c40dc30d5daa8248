#pragma once
// Media files made once per test program with the ffmpeg tool, and the facts
// ffprobe reports for them.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rctest {

inline bool Ffmpeg(const QStringList& args) {
    QProcess p;
    p.start("ffmpeg", QStringList{"-v", "error", "-y"} + args);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

struct Media {
    QTemporaryDir dir;
    QString mp4, avi, mp3, wav, truncated, raw, longWav;
    bool ok = false;

    QString Path(const char* name) const { return dir.path() + "/" + name; }

    Media() {
        mp4 = Path("clip.mp4");
        avi = Path("clip.avi");
        mp3 = Path("tone.mp3");
        wav = Path("tone.wav");
        truncated = Path("truncated.mp4");
        raw = Path("stream.h264");
        longWav = Path("long.wav");
        ok = Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-f", "lavfi", "-i",
                     "sine=frequency=440:sample_rate=44100:duration=2", "-c:v", "libx264", "-pix_fmt",
                     "yuv420p", "-c:a", "aac", "-b:a", "96k", "-shortest", mp4}) &&
             Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=352x288:rate=15:duration=2", "-f", "lavfi", "-i",
                     "sine=frequency=330:sample_rate=22050:duration=2", "-c:v", "mpeg4", "-b:v", "300k",
                     "-c:a", "libmp3lame", "-b:a", "64k", "-ac", "1", avi}) &&
             Ffmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=3", "-ac", "2",
                     "-c:a", "libmp3lame", "-b:a", "128k", mp3}) &&
             Ffmpeg({"-f", "lavfi", "-i", "sine=frequency=440:sample_rate=22050:duration=1.5", "-c:a",
                     "pcm_s16le", wav}) &&
             Ffmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=10:duration=2", "-c:v", "libx264",
                     "-pix_fmt", "yuv420p", "-f", "h264", raw}) &&
             Ffmpeg({"-f", "lavfi", "-i", "anullsrc=r=1000:cl=mono", "-t", "3723.456", "-c:a", "pcm_u8",
                     longWav});
        if (ok) {
            QFile in(mp4);
            ok = in.open(QIODevice::ReadOnly);
            const QByteArray head = in.read(in.size() / 5);
            QFile out(truncated);
            ok = ok && out.open(QIODevice::WriteOnly) && out.write(head) == head.size();
        }
    }
};

// One shared set for the whole test program.
inline const Media& SharedMedia() {
    static Media media;
    return media;
}

// ffprobe's view of a file: the format and the first stream of each kind.
struct Probed {
    bool ok = false;
    QJsonObject format, video, audio;
};

inline Probed FfprobeFile(const QString& path) {
    Probed r;
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-print_format", "json", "-show_format", "-show_streams", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return r;
    const QJsonObject doc = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    r.format = doc.value("format").toObject();
    for (const auto& v : doc.value("streams").toArray()) {
        const QJsonObject s = v.toObject();
        const QString type = s.value("codec_type").toString();
        const bool attached = s.value("disposition").toObject().value("attached_pic").toInt() == 1;
        if (type == "video" && !attached && r.video.isEmpty()) r.video = s;
        if (type == "audio" && r.audio.isEmpty()) r.audio = s;
    }
    r.ok = true;
    return r;
}

// "2.000000" seconds as microseconds; the smallest 64-bit integer for "N/A".
inline qint64 Micros(const QJsonValue& v) {
    bool ok = false;
    const double s = v.toString().toDouble(&ok);
    if (!ok) return std::numeric_limits<qint64>::min();
    return qint64(std::llround(s * 1e6));
}

}  // namespace rctest
