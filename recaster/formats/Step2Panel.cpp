#include "Step2Panel.h"

#include <QButtonGroup>
#include <QComboBox>
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
#include "formats/Presets.h"

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
        // All preset lists of the class lie at one place; the selected
        // format's list is in front.
        for (int i = 0; i < FormatCount(c); ++i) {
            auto* list = new QComboBox(sheet);
            list->setObjectName(PresetListName(c, i));
            list->addItems(PresetLabels(c, i));
            list->setMaxVisibleItems(10);
            list->setGeometry(10, kPagesHeight - 42, kPagesWidth - 28, 24);
            list->hide();
            presetLists_[c] << list;
        }
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
    // The pressed button is shown as selected by being disabled.
    for (int c = 0; c < 3; ++c) classButtons_[c]->setEnabled(c != formatClass);
    pages_->setCurrentIndex(formatClass);
}

void TStep2Panel::ShowChoice(const TRunSettings& s) {
    outputDir_->setText(s.OutputFileDir);
    format_ = {s.OutputVideoFormat, s.OutputDeviceFormat, s.OutputAudioFormat};
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < presetLists_[c].size(); ++i) {
            QComboBox* list = presetLists_[c][i];
            const int* preset = s.PresetFor(c, i);
            // A stored index outside the list selects nothing.
            list->setCurrentIndex(preset && *preset >= 0 && *preset < list->count() ? *preset : -1);
        }
        FormatButtonClick(c, format_[c]);
    }
    ShowClass(s.OutputFormatClass);
}

QComboBox* TStep2Panel::PresetList(int formatClass, int index) const {
    if (formatClass < 0 || formatClass > 2 || index < 0 || index >= presetLists_[formatClass].size()) return nullptr;
    return presetLists_[formatClass][index];
}

void TStep2Panel::TakeOver(TRunSettings& s) const {
    s.OutputFileDir = OutputFolder();
    s.OutputFormatClass = class_;
    s.OutputVideoFormat = format_[ClassVideo];
    s.OutputDeviceFormat = format_[ClassDevice];
    s.OutputAudioFormat = format_[ClassAudio];
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < presetLists_[c].size(); ++i)
            if (int* preset = s.PresetFor(c, i)) *preset = presetLists_[c][i]->currentIndex();
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
    if (formatClass < 0 || formatClass > 2) return;
    format_[formatClass] = index;
    if (QToolButton* b = FormatButton(formatClass, index)) b->setChecked(true);
    for (int i = 0; i < formatButtons_[formatClass].size(); ++i) formatButtons_[formatClass][i]->setEnabled(i != index);
    for (int i = 0; i < presetLists_[formatClass].size(); ++i) {
        presetLists_[formatClass][i]->setVisible(i == index);
        if (i == index) presetLists_[formatClass][i]->raise();
    }
}

void TStep2Panel::ButtonSelectDirClick() {
    const QString dir = SelectFolder(outputDir_->text(), window());
    if (!dir.isEmpty()) outputDir_->setText(IncludeTrailingBackslash(dir));
}

}  // namespace rc
