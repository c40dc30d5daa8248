#include "FFEncoder.h"

#include <QMetaObject>
#include <chrono>
#include <functional>

extern "C" {
#include <libavutil/log.h>
}

#include "encoder/Transcoder.h"

namespace rc {

TFFEncoder::TFFEncoder(QObject* parent) : QObject(parent) { qRegisterMetaType<rc::TTerminateInfo>(); }

TFFEncoder::~TFFEncoder() {
    if (stop_) stop_->store(true);
    JoinWorker();
}

void TFFEncoder::JoinWorker() {
    if (worker_.joinable()) worker_.join();
}

bool TFFEncoder::Fail(const QString& text) {
    lastError_ = text;
    return false;
}

bool TFFEncoder::Busy(const char* operation) {
    if (!working_) return false;
    lastError_ = QStringLiteral("Cannot %1 while working.").arg(QLatin1String(operation));
    return true;
}

int TFFEncoder::AddTask(const QString& path, const TInputOptions& options) {
    if (Busy("AddTask")) return -1;
    if (path.isEmpty()) {
        Fail("No input file name");
        return -1;
    }
    TTask t;
    TInputOptions in = options;
    in.FileName = path;
    t.Inputs.push_back(in);
    tasks_.push_back(std::move(t));
    return int(tasks_.size()) - 1;
}

bool TFFEncoder::AddInputFile(int task, const QString& path, const TInputOptions& options) {
    if (Busy("AddInputFile")) return false;
    if (task < 0 || task >= TaskCount()) return Fail(QStringLiteral("Invalid task index %1").arg(task));
    if (int(tasks_[task].Inputs.size()) >= kMaxTaskInputs)
        return Fail(QStringLiteral("max input files %1 reached").arg(kMaxTaskInputs));
    TInputOptions in = options;
    in.FileName = path;
    tasks_[task].Inputs.push_back(in);
    return true;
}

bool TFFEncoder::SetOutputFile(int task, const QString& path, const TOutputOptions& options) {
    if (Busy("SetOutputFile")) return false;
    if (task < 0 || task >= TaskCount()) return Fail(QStringLiteral("Invalid task index %1").arg(task));
    QString error;
    if (!ValidateOutput(path, options, &error)) return Fail(error);
    tasks_[task].Output = options;
    tasks_[task].Output.FileName = path;
    tasks_[task].HasOutput = true;
    return true;
}

bool TFFEncoder::RemoveTask(int task) {
    if (Busy("RemoveTask")) return false;
    if (task < 0 || task >= TaskCount()) return Fail(QStringLiteral("Invalid task index %1").arg(task));
    tasks_.erase(tasks_.begin() + task);
    return true;
}

bool TFFEncoder::ClearTasks() {
    if (Busy("ClearTasks")) return false;
    tasks_.clear();
    return true;
}

bool TFFEncoder::StartTask(int) {
    if (Busy("StartTask")) return false;
    JoinWorker();
    working_ = true;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    worker_ = std::thread(&TFFEncoder::Worker, this, tasks_);
    return true;
}

void TFFEncoder::StopAll() {
    if (stop_) stop_->store(true);
}

void TFFEncoder::Worker(std::vector<TTask> tasks) {
    const auto stop = stop_;
    const auto preview = preview_;
    // Everything reaches the owner as a queued call; calls for an encoder
    // that is gone are dropped by Qt with the object.
    auto post = [this](std::function<void(TFFEncoder*)> f) {
        QMetaObject::invokeMethod(this, [this, f] { f(this); }, Qt::QueuedConnection);
    };
    for (int i = 0; i < int(tasks.size()); ++i) {
        TTerminateInfo info;
        info.TaskIndex = i;
        if (stop->load()) {
            info.Exception = true;
            info.ExceptionMsg = "Stopped";
        } else if (!tasks[i].HasOutput) {
            info.Exception = true;
            info.ExceptionMsg = "No output file";
        } else {
            TTranscodeJob job;
            job.Inputs = tasks[i].Inputs;
            job.Output = tasks[i].Output;
            job.OutputPath = tasks[i].Output.FileName;
            job.Stop = stop.get();
            auto last = std::chrono::steady_clock::now() - std::chrono::milliseconds(kProgressIntervalMs);
            job.Progress = [&, i](int64_t pos, int64_t total) {
                const auto now = std::chrono::steady_clock::now();
                if (now - last < std::chrono::milliseconds(kProgressIntervalMs)) return;
                last = now;
                post([i, pos, total](TFFEncoder* e) { emit e->OnProgress(i, pos, total); });
            };
            job.Preview = preview.get();
            job.Frame = [&, i](const QImage& img) { post([i, img](TFFEncoder* e) { emit e->OnPreview(i, img); }); };
            job.Note = [&](const QString& t) { post([t](TFFEncoder* e) { emit e->OnNote(t); }); };
            QString error;
            info.Finished = Transcode(job, &error);
            if (!info.Finished) {
                info.Exception = true;
                info.ExceptionMsg = error;
            }
        }
        post([info](TFFEncoder* e) { emit e->OnTerminate(info); });
    }
    post([](TFFEncoder* e) {
        e->working_ = false;
        e->JoinWorker();
        TTerminateInfo end;
        end.TaskIndex = -1;
        end.Finished = true;
        emit e->OnTerminate(end);
    });
}

// The logger.

namespace {
std::mutex gLoggerLock;
QPointer<TFFLogger> gLogger;
std::atomic<int> gAvThreshold{AV_LOG_ERROR};

void LogCallback(void* avcl, int level, const char* fmt, va_list vl) {
    if (level > gAvThreshold.load()) return;
    char line[1024];
    int prefix = 1;
    av_log_format_line2(avcl, level, fmt, vl, line, sizeof line, &prefix);
    const QString text = QString::fromUtf8(line).trimmed();
    if (text.isEmpty()) return;
    const quint64 tid = quint64(std::hash<std::thread::id>{}(std::this_thread::get_id()) & 0xffffffffu);
    std::lock_guard<std::mutex> g(gLoggerLock);
    if (TFFLogger* l = gLogger.data()) {
        const int ordinal = TFFLogger::FromAvLevel(level);
        QMetaObject::invokeMethod(l, [l, tid, ordinal, text] { emit l->OnLog(tid, ordinal, text); }, Qt::QueuedConnection);
    }
}
}  // namespace

TFFLogger::TFFLogger(QObject* parent) : QObject(parent) {
    std::lock_guard<std::mutex> g(gLoggerLock);
    gLogger = this;
    gAvThreshold = ToAvLevel(level_);
    av_log_set_callback(LogCallback);
}

TFFLogger::~TFFLogger() {
    std::lock_guard<std::mutex> g(gLoggerLock);
    if (gLogger == this || gLogger.isNull()) {
        gLogger = nullptr;
        av_log_set_callback(av_log_default_callback);
    }
}

void TFFLogger::SetLogLevel(TLogLevel l) {
    level_ = l;
    std::lock_guard<std::mutex> g(gLoggerLock);
    if (gLogger == this) gAvThreshold = ToAvLevel(l);
}

TLogLevel TFFLogger::FromAvLevel(int l) {
    if (l <= AV_LOG_QUIET) return llQuiet;
    if (l <= AV_LOG_PANIC) return llPanic;
    if (l <= AV_LOG_FATAL) return llFatal;
    if (l <= AV_LOG_ERROR) return llError;
    if (l <= AV_LOG_WARNING) return llWarning;
    if (l <= AV_LOG_INFO) return llInfo;
    if (l <= AV_LOG_VERBOSE) return llVerbose;
    return llDebug;
}

int TFFLogger::ToAvLevel(TLogLevel l) {
    static const int map[] = {AV_LOG_QUIET, AV_LOG_PANIC, AV_LOG_FATAL, AV_LOG_ERROR,
                              AV_LOG_WARNING, AV_LOG_INFO, AV_LOG_VERBOSE, AV_LOG_DEBUG};
    return map[std::clamp(int(l), 0, 7)];
}

QString FormatLogLine(quint64 threadId, int level, const QString& message) {
    return QStringLiteral("#%1.%2: %3").arg(threadId).arg(level).arg(message);
}

}  // namespace rc
