#include "Step2Panel.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "Layout.h"
#include "Profile.h"
#include "RunSettings.h"
#include "Shell.h"

namespace rc {

namespace {
constexpr int kPagesLeft = 18;
constexpr int kPagesWidth = 504;  // sheets of 500: seven format buttons a row
constexpr int kPagesHeight = 236;
const char* const kClassNames[3] = {"ButtonToFormatVideo", "ButtonToFormatDevice", "ButtonToFormatAudio"};
const char* const kClassCaptions[3] = {"Video", "Device", "Audio"};
const char* const kSheetNames[3] = {"TabSheetToFormatVideo", "TabSheetToFormatDevice", "TabSheetToFormatAudio"};
}  // namespace

TStep2Panel::TStep2Panel(QWidget* parent) : QWidget(parent) {
    setObjectName("PanelStep2");
    auto* caption = new QLabel("Output folder:", this);
    caption->setGeometry(18, 16, 200, 18);
    outputDir_ = new QLineEdit(this);
    outputDir_->setObjectName("EditOutputDir");
    outputDir_->setGeometry(18, 38, 420, 24);
    auto* select = new QPushButton("Select...", this);
    select->setObjectName("ButtonSelectDir");
    select->setGeometry(446, 37, 92, 26);
    connect(select, &QPushButton::clicked, this, &TStep2Panel::ButtonSelectDirClick);
    auto* classCaption = new QLabel("Output format:", this);
    classCaption->setObjectName("LabelOutputFormat");
    classCaption->setGeometry(18, 108, 200, 18);

    for (int c = 0; c < 3; ++c) {
        auto* b = new QPushButton(kClassCaptions[c], this);
        b->setObjectName(kClassNames[c]);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->resize(kClassButtonGrid.CellWidth, kClassButtonGrid.CellHeight);
        connect(b, &QPushButton::clicked, this, [this, c] { ClassButtonClick(c); });
        classButtons_[c] = b;
    }

    pages_ = new QTabWidget(this);
    pages_->setObjectName("RzPageControlToFormat");
    pages_->tabBar()->hide();
    pages_->setGeometry(kPagesLeft, kFormatPagesTopWithClasses, kPagesWidth, kPagesHeight);
    for (int c = 0; c < 3; ++c) {
        auto* sheet = new QWidget;
        sheet->setObjectName(kSheetNames[c]);
        pages_->addTab(sheet, kClassCaptions[c]);
        auto* group = new QButtonGroup(sheet);
        for (int i = 0; i < FormatCount(c); ++i) {
            auto* b = new QToolButton(sheet);
            b->setObjectName(FormatButtonName(c, i));
            b->setText(FormatName(c, i));
            b->setCheckable(true);
            b->resize(kFormatButtonGrid.CellWidth, kFormatButtonGrid.CellHeight);
            group->addButton(b);
            connect(b, &QToolButton::clicked, this, [this, c, i] { FormatButtonClick(c, i); });
            formatButtons_[c] << b;
        }
        auto* presets = new QLabel("Presets:", sheet);
        presets->setObjectName(QStringLiteral("LabelPresets%1").arg(kClassCaptions[c]));
        presets->setGeometry(10, kPagesHeight - 64, 120, 18);
    }
}

int TStep2Panel::SheetWidth() const {
    // The sheets fill the page control inside its two-pixel frame.
    return kPagesWidth - 4;
}

void TStep2Panel::ApplyProfile(const TProfile& profile) {
    const int sheetWidth = SheetWidth();
    for (int c = 0; c < 3; ++c) {
        std::vector<bool> offered;
        for (int i = 0; i < FormatCount(c); ++i) offered.push_back(profile.Offered(c, i));
        const auto cells = LayOutButtons(kFormatButtonGrid, sheetWidth, offered);
        for (int i = 0; i < FormatCount(c); ++i) {
            QToolButton* b = formatButtons_[c][i];
            b->setVisible(offered[i]);
            if (offered[i]) b->move(cells[i]);
        }
    }
    const bool showClasses = profile.OfferedClassCount() >= 2;
    std::vector<bool> classOffered;
    for (int c = 0; c < 3; ++c) classOffered.push_back(showClasses && profile.ClassOffered(c));
    const auto cells = LayOutButtons(kClassButtonGrid, width() > 0 ? width() : 556, classOffered);
    for (int c = 0; c < 3; ++c) {
        classButtons_[c]->setVisible(classOffered[c]);
        if (classOffered[c]) classButtons_[c]->move(cells[c]);
    }
    pages_->move(kPagesLeft, FormatPagesTop(profile.OfferedClassCount()));
}

void TStep2Panel::ShowClass(int formatClass) {
    if (formatClass < 0 || formatClass > 2) formatClass = ClassVideo;
    class_ = formatClass;
    classButtons_[formatClass]->setChecked(true);
    pages_->setCurrentIndex(formatClass);
}

void TStep2Panel::ShowChoice(const TRunSettings& s) {
    outputDir_->setText(s.OutputFileDir);
    format_ = {s.OutputVideoFormat, s.OutputDeviceFormat, s.OutputAudioFormat};
    for (int c = 0; c < 3; ++c)
        if (QToolButton* b = FormatButton(c, format_[c])) b->setChecked(true);
    ShowClass(s.OutputFormatClass);
}

void TStep2Panel::TakeOver(TRunSettings& s) const {
    s.OutputFileDir = OutputFolder();
    s.OutputFormatClass = class_;
    s.OutputVideoFormat = format_[ClassVideo];
    s.OutputDeviceFormat = format_[ClassDevice];
    s.OutputAudioFormat = format_[ClassAudio];
}

int TStep2Panel::CurrentFormat(int formatClass) const {
    return formatClass >= 0 && formatClass < 3 ? format_[formatClass] : -1;
}

QString TStep2Panel::OutputFolder() const {
    return IncludeTrailingBackslash(outputDir_->text().trimmed());
}

QAbstractButton* TStep2Panel::ClassButton(int formatClass) const {
    return formatClass >= 0 && formatClass < 3 ? classButtons_[formatClass] : nullptr;
}

QToolButton* TStep2Panel::FormatButton(int formatClass, int index) const {
    if (formatClass < 0 || formatClass > 2 || index < 0 || index >= formatButtons_[formatClass].size())
        return nullptr;
    return formatButtons_[formatClass][index];
}

void TStep2Panel::ClassButtonClick(int formatClass) { ShowClass(formatClass); }

void TStep2Panel::FormatButtonClick(int formatClass, int index) {
    format_[formatClass] = index;
    if (QToolButton* b = FormatButton(formatClass, index)) b->setChecked(true);
}

void TStep2Panel::ButtonSelectDirClick() {
    const QString dir = SelectFolder(outputDir_->text(), window());
    if (!dir.isEmpty()) outputDir_->setText(IncludeTrailingBackslash(dir));
}

}  // namespace rc
