#pragma once
// The converter's encoder: a queue of tasks (one or more inputs, one
// output each) run one at a time on a worker thread with libavformat,
// libavcodec, libavfilter and libswresample. Progress, task ends and notes
// reach the owner's thread as queued calls; the logger forwards FFmpeg's
// error messages the same way.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "encoder/EncoderTypes.h"

namespace rc {

inline constexpr int kMaxTaskInputs = 32;
inline constexpr int kProgressIntervalMs = 500;

class TFFEncoder : public QObject {
    Q_OBJECT
public:
    explicit TFFEncoder(QObject* parent = nullptr);
    ~TFFEncoder() override;  // stops and joins the worker; no thread outlives it

    int AddTask(const QString& path, const TInputOptions& options);
    bool AddInputFile(int task, const QString& path, const TInputOptions& options);
    bool SetOutputFile(int task, const QString& path, const TOutputOptions& options);
    bool RemoveTask(int task);
    bool ClearTasks();
    int TaskCount() const { return int(tasks_.size()); }
    // Runs the queued tasks in index order (one at a time).
    bool StartTask(int count = 1);
    void StopAll();
    bool Working() const { return working_; }
    QString LastErrorText() const { return lastError_; }

    // While on, OnPreview carries the pictures being encoded.
    bool Preview() const { return preview_->load(); }
    void SetPreview(bool on) { preview_->store(on); }

signals:
    void OnProgress(int task, qint64 position, qint64 duration);
    void OnTerminate(const rc::TTerminateInfo& info);
    // The encoder's own notes (skipped options, snapped rates).
    void OnNote(const QString& text);
    void OnPreview(int task, const QImage& picture);

private:
    struct TTask {
        std::vector<TInputOptions> Inputs;
        TOutputOptions Output;
        bool HasOutput = false;
    };
    bool Busy(const char* operation);
    bool Fail(const QString& text);
    void Worker(std::vector<TTask> tasks);
    void JoinWorker();

    std::vector<TTask> tasks_;
    QString lastError_;
    bool working_ = false;
    std::shared_ptr<std::atomic<bool>> preview_ = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<std::atomic<bool>> stop_;
    std::thread worker_;
};

enum TLogLevel { llQuiet = 0, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

// Forwards FFmpeg's messages of LogLevel and worse to OnLog on the thread
// the logger lives on. One logger is active at a time: the latest created.
class TFFLogger : public QObject {
    Q_OBJECT
public:
    explicit TFFLogger(QObject* parent = nullptr);
    ~TFFLogger() override;
    TLogLevel LogLevel() const { return level_; }
    void SetLogLevel(TLogLevel l);
    // The logger's level ordinal of an FFmpeg level.
    static TLogLevel FromAvLevel(int avLevel);
    static int ToAvLevel(TLogLevel level);

signals:
    void OnLog(quint64 threadId, int level, const QString& message);

private:
    std::atomic<TLogLevel> level_{llError};
    friend void DeliverLog(int, const QString&);
};

// The text of a logger event as the log shows it: "#" + thread + "." + level + ": " + message.
QString FormatLogLine(quint64 threadId, int level, const QString& message);

}  // namespace rc

Q_DECLARE_METATYPE(rc::TTerminateInfo)
