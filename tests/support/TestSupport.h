#pragma once
// Small helpers for tests: temporary folders and the command-line oracles.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

namespace swtest {

// Runs a program, waits (up to timeoutMs), returns its exit code; the
// standard output and error go into *out when given.
int Run(const QString& program, const QStringList& args, QString* out = nullptr,
        int timeoutMs = 120000);

// True when a program is found on PATH.
bool HaveTool(const QString& program);

// ffprobe facts of the first audio stream of a file.
struct ProbeInfo {
    bool ok = false;
    QString codec;        // codec_name
    QString format;       // format_name
    int sampleRate = 0;
    int channels = 0;
    long long bitRate = 0;   // stream bit rate or, when absent, the format's
    double duration = 0;     // seconds
    QString tags;            // "key=value" lines of the format and stream tags
};
ProbeInfo Probe(const QString& path);

// Makes a test signal file with ffmpeg's lavfi sources: `seconds` of a sine
// (`freq` Hz) at rate/channels, encoded by the extra output args.
bool MakeTone(const QString& path, double seconds, int rate, int channels,
              const QStringList& outArgs = {}, double freq = 440.0);

// The source and binary folders of the project (from the environment ctest sets).
QString SourceDir();
QString BinaryDir();

}  // namespace swtest
