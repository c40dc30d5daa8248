#pragma once
// The conversion run of Step3 and the summary of Step4: turns the input
// grid into encoder tasks, follows their progress and ends, and carries out
// the finish actions.
#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "encoder/EncoderTypes.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace rc {

class TFFEncoder;
class TFFLogger;
class TFormMain;
class TNextGrid;

// "h:nn:ss" of milliseconds.
QString ClockText(int64_t milliseconds);

class TConversionRun : public QObject {
    Q_OBJECT
public:
    TConversionRun(TFormMain* form, QWidget* step3, QWidget* step4, TNextGrid* grid);
    ~TConversionRun() override;

    TFFEncoder* Encoder() const { return encoder_; }
    QTreeWidget* List() const { return list_; }
    QLabel* PreviewImage() const { return previewImage_; }
    int TotalItems() const { return totalItems_; }
    int SucceededItems() const { return succeeded_; }
    QStringList Errors() const { return errors_; }
    bool Running() const { return running_; }
    int64_t FinishedDuration() const { return finishedDuration_; }

    // WM_USER+2, the end events, WM_USER+3, Cancel.
    void StartRun();
    void FFEncoderProgress(int task, qint64 position, qint64 duration);
    void FFEncoderTerminate(const TTerminateInfo& info);
    void FinishActions();
    void Stop();
    void ClearList();

private:
    void BuildPerInput();
    void BuildJoin();
    void EndOfRun(const TTerminateInfo& info);
    void ShowSummary();
    void AddLog(const QString& line);

    TFormMain* form_;
    TNextGrid* grid_;
    TFFEncoder* encoder_;
    TFFLogger* logger_;
    QTreeWidget* list_ = nullptr;
    QLabel *labelTitle_ = nullptr, *labelFile_ = nullptr, *labelEstimated_ = nullptr, *labelElapsed_ = nullptr,
           *labelLeft_ = nullptr, *labelProgress_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QCheckBox* preview_ = nullptr;
    QLabel* previewImage_ = nullptr;
    QLabel *labelTotal_ = nullptr, *labelSucceeded_ = nullptr, *labelFailed_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;

    bool join_ = false;
    bool running_ = false;
    int totalItems_ = 0, succeeded_ = 0, handledEnds_ = 0;
    int64_t totalDuration_ = 0, finishedDuration_ = 0;
    QDateTime start_;
    QStringList errors_;
    std::vector<int> taskItem_;           // task index -> list item
    std::vector<int64_t> taskDuration_;   // what each task adds to the total duration
    QSet<QString> reserved_;
};

}  // namespace rc
