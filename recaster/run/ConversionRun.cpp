#include "ConversionRun.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>

#include "DialogService.h"
#include "FormMain.h"
#include "MessageService.h"
#include "Profile.h"
#include "RunSettings.h"
#include "Shell.h"
#include "encoder/FFEncoder.h"
#include "formats/Presets.h"
#include "input/InputRow.h"
#include "input/MediaProbe.h"
#include "input/NextGrid.h"
#include "run/FinishServices.h"
#include "run/FormShutdown.h"
#include "run/UniqueName.h"

namespace rc {

QString ClockText(int64_t ms) {
    if (ms < 0) ms = 0;
    const int64_t s = ms / 1000;
    return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QChar('0')).arg(s % 60, 2, 10, QChar('0'));
}

namespace {
QLabel* Label(QWidget* parent, const char* name, const QString& text, int x, int y, int w) {
    auto* l = new QLabel(text, parent);
    if (name) l->setObjectName(name);
    l->setGeometry(x, y, w, 18);
    return l;
}
}  // namespace

TConversionRun::TConversionRun(TFormMain* form, QWidget* step3, QWidget* step4, TNextGrid* grid)
    : QObject(form), form_(form), grid_(grid), encoder_(new TFFEncoder(this)), logger_(new TFFLogger(this)) {
    list_ = new QTreeWidget(step3);
    list_->setObjectName("ListViewConverting");
    list_->setColumnCount(5);
    list_->setHeaderLabels({"Name", "Duration", "Status", "Progress", "Path"});
    const int widths[] = {240, 80, 95, 95, 300};
    for (int i = 0; i < 5; ++i) list_->setColumnWidth(i, widths[i]);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setGeometry(18, 10, 520, 190);

    labelTitle_ = Label(step3, "LabelCurrentFileTitle", "Current file:", 18, 210, 90);
    labelFile_ = Label(step3, "LabelCurrentFile", "...", 110, 210, 428);
    Label(step3, nullptr, "Estimated:", 18, 234, 80);
    labelEstimated_ = Label(step3, "LabelEstimated", "0:00:00", 100, 234, 80);
    Label(step3, nullptr, "Elapsed:", 190, 234, 70);
    labelElapsed_ = Label(step3, "LabelElapsed", "0:00:00", 262, 234, 80);
    Label(step3, nullptr, "Time left:", 352, 234, 70);
    labelLeft_ = Label(step3, "LabelTimeLeft", "0:00:00", 424, 234, 80);
    bar_ = new QProgressBar(step3);
    bar_->setObjectName("ProgressBar");
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    bar_->setGeometry(18, 260, 460, 20);
    labelProgress_ = Label(step3, "LabelProgress", "0%", 488, 261, 50);
    preview_ = new QCheckBox("Preview", step3);
    preview_->setObjectName("CheckBoxPreview");
    preview_->setGeometry(18, 296, 200, 22);
    previewImage_ = new QLabel(step3);
    previewImage_->setObjectName("ImagePreview");
    previewImage_->setGeometry(378, 290, 160, 120);
    previewImage_->hide();
    connect(preview_, &QCheckBox::toggled, this, [this](bool on) {
        encoder_->SetPreview(on);
        previewImage_->setVisible(on);
    });
    connect(encoder_, &TFFEncoder::OnPreview, this, [this](int, const QImage& img) {
        previewImage_->setPixmap(QPixmap::fromImage(img.scaled(previewImage_->size(), Qt::KeepAspectRatio)));
    });

    Label(step4, nullptr, "Summary", 18, 130, 200);
    Label(step4, nullptr, "Total files:", 18, 154, 90);
    labelTotal_ = Label(step4, "LabelTotalFiles", "0", 110, 154, 80);
    Label(step4, nullptr, "Successed:", 18, 174, 90);
    labelSucceeded_ = Label(step4, "LabelSuccessed", "0", 110, 174, 80);
    Label(step4, nullptr, "Failed:", 18, 194, 90);
    labelFailed_ = Label(step4, "LabelFailed", "0", 110, 194, 80);
    auto* open = new QLabel("<a href=\"#\">Open folder</a>", step4);
    open->setObjectName("LabelOpenFolder");
    open->setGeometry(18, 220, 120, 18);
    connect(open, &QLabel::linkActivated, this, [] { ShellOpen(RunSettings().OutputFileDir); });
    memo_ = new QPlainTextEdit(step4);
    memo_->setObjectName("MemoErrorLog");
    memo_->setReadOnly(true);
    memo_->setGeometry(18, 246, 520, 160);
    memo_->hide();

    connect(encoder_, &TFFEncoder::OnProgress, this, &TConversionRun::FFEncoderProgress);
    connect(encoder_, &TFFEncoder::OnTerminate, this, &TConversionRun::FFEncoderTerminate);
    connect(encoder_, &TFFEncoder::OnNote, this, &TConversionRun::AddLog);
    connect(logger_, &TFFLogger::OnLog, this,
            [this](quint64 t, int level, const QString& m) { AddLog(FormatLogLine(t, level, m)); });
    connect(form, &TFormMain::StartRunRequested, this, &TConversionRun::StartRun);
    connect(form, &TFormMain::RunFinished, this, &TConversionRun::FinishActions);
    connect(form, &TFormMain::StopRunRequested, this, &TConversionRun::Stop);
    connect(form, &TFormMain::Closing, this, &TConversionRun::Stop);
    connect(form, &TFormMain::ClearListsRequested, this, &TConversionRun::ClearList);
}

TConversionRun::~TConversionRun() { encoder_->StopAll(); }

void TConversionRun::AddLog(const QString& line) { form_->AppendLog(line); }

void TConversionRun::ClearList() {
    list_->clear();
    taskItem_.clear();
    taskDuration_.clear();
}

void TConversionRun::StartRun() {
    QCoreApplication::processEvents();
    const TRunSettings& s = RunSettings();
    join_ = s.Merge;
    errors_.clear();
    reserved_.clear();
    succeeded_ = 0;
    handledEnds_ = 0;
    finishedDuration_ = 0;
    // Every grid row counts; a row left out of the run counts as failed.
    if (join_) BuildJoin();
    else BuildPerInput();
    totalItems_ = join_ ? 1 : grid_->RowCount();
    list_->headerItem()->setText(2, join_ ? "Width x Height" : "Status");
    list_->headerItem()->setText(3, join_ ? "Aspect Ratio" : "Progress");
    labelTitle_->setText(join_ ? "Output file:" : "Current file:");
    start_ = QDateTime::currentDateTime();
    if (encoder_->TaskCount() == 0) {
        // Nothing could be queued: the run ends at once with its summary.
        form_->PostUserMessage(3);
        return;
    }
    running_ = encoder_->StartTask(1);
    if (!running_) {
        errors_ << encoder_->LastErrorText();
        form_->PostUserMessage(3);
    }
}

void TConversionRun::BuildPerInput() {
    ClearList();
    totalDuration_ = 0;
    const TRunSettings& s = RunSettings();
    const int cls = s.OutputFormatClass;
    const int fmt = cls == ClassVideo ? s.OutputVideoFormat : cls == ClassDevice ? s.OutputDeviceFormat : s.OutputAudioFormat;
    const int* preset = s.PresetFor(cls, fmt);
    const QString ext = OutputExtension(cls, fmt);
    TMediaDecoder decoder;
    for (int row = 0; row < grid_->RowCount(); ++row) {
        const QString path = grid_->Cell(ColFileFullName, row).toString();
        const QFileInfo fi(path);
        if (!decoder.OpenMediaFile(path)) {
            const QString e = "File load error: " + decoder.LastErrorText();
            AddLog(e);
            errors_ << e;
            continue;
        }
        TMediaFileInfo info;
        decoder.QueryFileInfo(info);
        TProbedInput probed;
        if (decoder.AudioStreamNo() >= 0) {
            TAudioStreamInfo a;
            if (decoder.QueryAudioStream(decoder.AudioStreamNo(), a)) probed.AudioBitrate = a.bitRate;
        }
        TOutputOptions out = BuildOutputOptions(cls, fmt, preset ? *preset : -1, probed).value_or(TOutputOptions{});
        const QString name = UniqueFileName(s.OutputFileDir, fi.completeBaseName() + ext, &reserved_);
        if (name.isEmpty()) {
            const QString e = "Cannot do convert, error: no free output name for " + fi.fileName();
            AddLog(e);
            errors_ << e;
            decoder.CloseMediaFile();
            continue;
        }
        out.FileName = s.OutputFileDir + name;
        out.FileExt = ext;
        TInputOptions in{path, {}};
        const int task = encoder_->AddTask(path, in);
        if (task < 0) {
            const QString e = "Adding file error: " + encoder_->LastErrorText();
            AddLog(e);
            errors_ << e;
        } else if (encoder_->SetOutputFile(task, out.FileName, out)) {
            auto* item = new QTreeWidgetItem(list_);
            item->setText(0, fi.fileName());
            item->setText(1, DurationText(info.duration));
            item->setText(2, "Waiting...");
            item->setText(4, IncludeTrailingBackslash(fi.absolutePath()));
            const int64_t d = info.duration != kNoValue && info.duration > 0 ? info.duration : 0;
            totalDuration_ += d;
            taskItem_.push_back(list_->topLevelItemCount() - 1);
            taskDuration_.push_back(d);
            AddLog("File has been added to convert list.");
        } else {
            const QString e = "Cannot do convert, error: " + encoder_->LastErrorText();
            encoder_->RemoveTask(task);
            reserved_.remove(name);
            AddLog(e);
            errors_ << e;
        }
        decoder.CloseMediaFile();
    }
}

void TConversionRun::BuildJoin() {
    ClearList();
    totalDuration_ = 0;
    const TRunSettings& s = RunSettings();
    const int cls = s.OutputFormatClass;
    const int fmt = cls == ClassVideo ? s.OutputVideoFormat : cls == ClassDevice ? s.OutputDeviceFormat : s.OutputAudioFormat;
    const int* preset = s.PresetFor(cls, fmt);
    const QString ext = OutputExtension(cls, fmt);
    const QString output = s.OutputFileDir + UniqueFileName(s.OutputFileDir, "Output_Merge" + ext, &reserved_);
    for (int row = 0; row < grid_->RowCount(); ++row) {
        const QString path = grid_->Cell(ColFileFullName, row).toString();
        const bool ok = encoder_->TaskCount() > 0 ? encoder_->AddInputFile(0, path, {})
                                                  : encoder_->AddTask(path, {}) >= 0;
        if (!ok) {
            const QString e = "Adding file error: " + encoder_->LastErrorText();
            AddLog(e);
            errors_ << e;
            continue;
        }
        const int64_t d = grid_->Cell(ColRealDuration, row).toString().toLongLong();
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, QFileInfo(path).fileName());
        item->setText(1, DurationText(d > 0 ? d : kNoValue));
        item->setText(2, QStringLiteral("%1x%2").arg(grid_->Cell(ColWidth, row).toInt()).arg(grid_->Cell(ColHeight, row).toInt()));
        item->setText(3, QString::number(grid_->Cell(ColAspectRatio, row).toDouble()));
        item->setText(4, output);
        if (d > 0) totalDuration_ += d;
        AddLog("File has been added to convert list.");
    }
    if (encoder_->TaskCount() == 0) return;
    TOutputOptions out = BuildOutputOptions(cls, fmt, preset ? *preset : -1).value_or(TOutputOptions{});
    out.Join = true;
    out.FileName = output;
    out.FileExt = ext;
    if (!encoder_->SetOutputFile(0, output, out)) {
        const QString e = "Cannot do convert, error: " + encoder_->LastErrorText();
        encoder_->RemoveTask(0);
        AddLog(e);
        errors_ << e;
        return;
    }
    taskItem_.push_back(0);
    taskDuration_.push_back(totalDuration_);
}

void TConversionRun::FFEncoderProgress(int task, qint64 position, qint64 duration) {
    if (task < 0 || task >= int(taskItem_.size())) return;
    QTreeWidgetItem* item = list_->topLevelItem(join_ ? 0 : taskItem_[task]);
    if (!item) return;
    labelFile_->setText(join_ ? item->text(4) : item->text(4) + item->text(0));
    if (duration > 0) {
        bar_->setValue(int(std::clamp<int64_t>(position * 100 / duration, 0, 100)));
        const QString pct = QString::number(bar_->value()) + "%";
        labelProgress_->setText(pct);
        if (!join_) {
            item->setText(3, pct);
            item->setText(2, "Converting...");
        }
    } else if (!join_) {
        item->setText(3, "N/A");
    }
    const int64_t divisor = finishedDuration_ + position;
    if (divisor > 0) {
        const int64_t elapsed = start_.msecsTo(QDateTime::currentDateTime());
        const int64_t estimated = int64_t(double(elapsed) * double(totalDuration_) / double(divisor));
        labelEstimated_->setText(ClockText(estimated));
        labelElapsed_->setText(ClockText(elapsed));
        labelLeft_->setText(ClockText(estimated - elapsed));
    }
}

void TConversionRun::FFEncoderTerminate(const TTerminateInfo& info) {
    if (info.TaskIndex < 0) {
        EndOfRun(info);
        return;
    }
    QTreeWidgetItem* item = nullptr;
    if (info.TaskIndex < int(taskItem_.size())) item = list_->topLevelItem(taskItem_[info.TaskIndex]);
    if (info.Finished) {
        ++succeeded_;
        if (info.TaskIndex < int(taskDuration_.size())) finishedDuration_ += taskDuration_[info.TaskIndex];
        labelProgress_->setText("100%");
        bar_->setValue(100);
        if (!join_ && item) {
            item->setText(3, "100%");
            item->setText(2, "Finish.");
        }
    } else if (!join_ && item) {
        item->setText(2, "Failed.");
    }
    ++handledEnds_;
    if (info.Exception) errors_ << QStringLiteral("File (%1): %2").arg(info.TaskIndex).arg(info.ExceptionMsg);
}

void TConversionRun::EndOfRun(const TTerminateInfo& info) {
    // Every task end is handled first; they come before this one, so the
    // wait only guards the order without holding up the event queue.
    if (handledEnds_ < encoder_->TaskCount()) {
        QTimer::singleShot(10, this, [this, info] { EndOfRun(info); });
        return;
    }
    running_ = false;
    encoder_->ClearTasks();
    labelFile_->setText("...");
    labelProgress_->setText("0%");
    bar_->setValue(0);
    if (info.Exception) errors_ << QStringLiteral("File (-1): %1").arg(info.ExceptionMsg);
    form_->PostUserMessage(3);
}

void TConversionRun::FinishActions() {
    const TRunSettings& s = RunSettings();
    if (s.PlayASoundWhenFinished)
        PlaySoundFile(form_->ProgramFolder() + (succeeded_ >= totalItems_ ? "/sounds/done.wav" : "/sounds/fail.wav"));
    if (s.ShutDownWhenFinished) {
        TFormShutdown dlg(form_->Title(), form_);
        if (sw::ExecDialog(dlg, form_) == QDialog::Accepted) {
            QString error;
            if (!PowerOffSystem(&error))
                sw::ShowError("The computer could not be shut down: " + error, form_);
        }
    }
    ShowSummary();
}

void TConversionRun::ShowSummary() {
    memo_->setPlainText(errors_.join("\n"));
    memo_->setVisible(!errors_.isEmpty());
    labelTotal_->setText(QString::number(totalItems_));
    labelSucceeded_->setText(QString::number(succeeded_));
    labelFailed_->setText(QString::number(totalItems_ - succeeded_));
}

void TConversionRun::Stop() { encoder_->StopAll(); }

}  // namespace rc
