#include "PulseServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <cmath>
#include <cstring>

namespace swtest {

PulseServer::PulseServer() {
    if (!dir_.isValid() || QStandardPaths::findExecutable("pulseaudio").isEmpty()) return;
    const QString root = dir_.path();
    QDir().mkpath(root + "/runtime");
    QDir().mkpath(root + "/state");
    const QString socket = root + "/native";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PULSE_RUNTIME_PATH", root + "/runtime");
    env.insert("PULSE_STATE_PATH", root + "/state");
    env.remove("PULSE_SERVER");
    process_.setProcessEnvironment(env);
    process_.setStandardOutputFile(root + "/pulse.log");
    process_.setStandardErrorFile(root + "/pulse.log", QIODevice::Append);
    process_.start("pulseaudio",
                   {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                    "--load=module-null-sink sink_name=out",
                    "--load=module-null-source source_name=in",
                    QString("--load=module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket)});
    if (!process_.waitForStarted(10000)) return;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
        if (QFileInfo(socket).exists()) {
            running_ = true;
            address_ = "unix:" + socket;
            return;
        }
        QThread::msleep(50);
    }
}

PulseServer::~PulseServer() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
}

namespace {

std::unique_ptr<PulseServer>& ProcessServer() {
    static std::unique_ptr<PulseServer> server;
    return server;
}

bool StartProcessServer() {
    auto& server = ProcessServer();
    if (!server) {
        server = std::make_unique<PulseServer>();
        if (server->Running()) qputenv("PULSE_SERVER", server->Address().toLocal8Bit());
        // Stopped with the application object, while Qt can still tidy up.
        if (QCoreApplication::instance()) qAddPostRoutine([] { ProcessServer().reset(); });
    }
    return server && server->Running();
}

}  // namespace

bool EnsurePulseServer() {
    if (ProcessServer()) return ProcessServer()->Running();
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER")) return true;
    return StartProcessServer();
}

bool EnsurePrivatePulseServer() {
    return StartProcessServer();
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return done();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

MonitorRecorder::MonitorRecorder(int sampleRate, int channels) : rate_(sampleRate), channels_(channels) {
    file_ = dir_.filePath("monitor.raw");
}

MonitorRecorder::~MonitorRecorder() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool MonitorRecorder::Start(const QString& device) {
    if (!dir_.isValid() || QStandardPaths::findExecutable("parec").isEmpty()) return false;
    process_.setStandardOutputFile(file_);
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start("parec", {"-d", device, "--raw", "--format=float32le",
                             QString("--rate=%1").arg(rate_), QString("--channels=%1").arg(channels_),
                             "--latency-msec=20"});
    if (!process_.waitForStarted(10000)) return false;
    // The null sink renders silence all the time, so its monitor delivers
    // samples as soon as the recording stream runs.
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
        if (QFileInfo(file_).size() > 0) return true;
        QThread::msleep(20);
    }
    return false;
}

std::vector<float> MonitorRecorder::Stop() {
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    QFile f(file_);
    std::vector<float> samples;
    if (!f.open(QIODevice::ReadOnly)) return samples;
    const QByteArray bytes = f.readAll();
    samples.resize(std::size_t(bytes.size()) / sizeof(float));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * sizeof(float));
    return samples;
}

double Rms(const std::vector<float>& samples) {
    if (samples.empty()) return 0.0;
    double sum = 0.0;
    for (float s : samples) sum += double(s) * double(s);
    return std::sqrt(sum / double(samples.size()));
}

std::vector<double> WindowRms(const std::vector<float>& samples, int channels, int windowFrames) {
    std::vector<double> out;
    const std::size_t window = std::size_t(channels) * std::size_t(windowFrames);
    for (std::size_t i = 0; window > 0 && i + window <= samples.size(); i += window)
        out.push_back(Rms(std::vector<float>(samples.begin() + long(i), samples.begin() + long(i + window))));
    return out;
}

}  // namespace swtest
