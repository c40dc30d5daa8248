#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>

namespace swtest {

int Run(const QString& program, const QStringList& args, QString* out, int timeoutMs) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) return -1;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return -2;
    }
    if (out) *out = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3;
}

bool HaveTool(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

ProbeInfo Probe(const QString& path) {
    ProbeInfo info;
    QString out;
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-print_format", "json", "-show_format", "-show_streams",
                        "-select_streams", "a:0", path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return info;
    const auto doc = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const auto streams = doc.value("streams").toArray();
    if (streams.isEmpty()) return info;
    const auto s = streams.at(0).toObject();
    const auto f = doc.value("format").toObject();
    info.ok = true;
    info.codec = s.value("codec_name").toString();
    info.format = f.value("format_name").toString();
    info.sampleRate = s.value("sample_rate").toString().toInt();
    info.channels = s.value("channels").toInt();
    info.bitRate = s.value("bit_rate").toString().toLongLong();
    if (info.bitRate == 0) info.bitRate = f.value("bit_rate").toString().toLongLong();
    info.duration = f.value("duration").toString().toDouble();
    if (info.duration == 0) info.duration = s.value("duration").toString().toDouble();
    for (const auto& tagsObj : {f.value("tags").toObject(), s.value("tags").toObject()})
        for (auto it = tagsObj.begin(); it != tagsObj.end(); ++it)
            info.tags += it.key().toLower() + "=" + it.value().toString() + "\n";
    return info;
}

bool MakeTone(const QString& path, double seconds, int rate, int channels,
              const QStringList& outArgs, double freq) {
    QStringList args = {"-v", "error", "-y", "-f", "lavfi", "-i",
                        QString("sine=frequency=%1:sample_rate=%2:duration=%3")
                            .arg(freq).arg(rate).arg(seconds),
                        "-ac", QString::number(channels)};
    args += outArgs;
    args << path;
    return Run("ffmpeg", args) == 0;
}

// The environment wins (a test run from another tree); otherwise the folders
// this build was configured with.
QString SourceDir() { return qEnvironmentVariable("SW_SOURCE_DIR", QStringLiteral(SW_TEST_SOURCE_DIR)); }
QString BinaryDir() { return qEnvironmentVariable("SW_BINARY_DIR", QStringLiteral(SW_TEST_BINARY_DIR)); }

}  // namespace swtest
