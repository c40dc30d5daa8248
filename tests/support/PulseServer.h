#pragma once
// A private PulseAudio server for tests that play or record sound: a null
// sink "out" (its monitor "out.monitor" hears what is played) and a null
// source "in". scripts/test.sh starts one for the whole run and exports
// PULSE_SERVER; when a test executable runs on its own, EnsurePulseServer()
// starts one in a temporary folder and points PULSE_SERVER at it. Call it
// before the first use of Qt Multimedia (QMediaDevices reads the server
// address once).
#include <QByteArray>
#include <gtest/gtest.h>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace swtest {

class PulseServer {
public:
    // Starts pulseaudio; Running() tells whether its socket came up.
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    bool Running() const { return running_; }
    QString Address() const { return address_; }   // "unix:<socket>"

private:
    QTemporaryDir dir_;
    QProcess process_;
    QString address_;
    bool running_ = false;
};

// True when PULSE_SERVER is set, either from outside or by a private server
// started here (kept until the process ends).
bool EnsurePulseServer();

// Starts a server of this process's own (once) and points PULSE_SERVER at
// it, whatever was set before; false when none could be started. For tests
// that record the sink's monitor: ctest runs cases in parallel processes,
// and on a shared server they would hear each other's sound.
bool EnsurePrivatePulseServer();

// Runs the event loop until `done` is true or timeoutMs has passed; returns
// `done()` at the end.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);

// Records the null sink's monitor with parec as raw 32-bit float samples.
class MonitorRecorder {
public:
    MonitorRecorder(int sampleRate = 48000, int channels = 2);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Starts parec and waits until the first samples arrive.
    bool Start(const QString& device = "out.monitor");
    // Stops parec and returns the samples (interleaved).
    std::vector<float> Stop();

    int SampleRate() const { return rate_; }
    int Channels() const { return channels_; }

private:
    int rate_;
    int channels_;
    QTemporaryDir dir_;
    QString file_;
    QProcess process_;
};

// Root mean square of interleaved samples; 0 for none.
double Rms(const std::vector<float>& samples);
// RMS of consecutive windows of `windowFrames` frames (all channels).
std::vector<double> WindowRms(const std::vector<float>& samples, int channels, int windowFrames);

// Lets the event loop run for a while (no condition to wait for).
inline void Spin(int ms) { WaitFor([] { return false; }, ms); }

// Fixture for tests that play sound: a server of this process's own, so that
// monitor recordings never hear what tests in other processes play; the
// shared one from PULSE_SERVER when no private one can be started.
class SoundDeviceTest : public ::testing::Test {
protected:
    static inline bool serverUp_ = false;
    static void SetUpTestSuite() {
        serverUp_ = EnsurePrivatePulseServer() || !qEnvironmentVariableIsEmpty("PULSE_SERVER");
    }
    void SetUp() override {
        if (!serverUp_) GTEST_SKIP() << "no sound server (pulseaudio could not be started)";
    }
};

}  // namespace swtest
