#include "FormatSetupForm.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogConventions.h"
#include "FormDetails.h"
#include "GlobalVars.h"
#include "Help.h"

using formdetail::NewButton;
using formdetail::NewLabel;
using formdetail::NewLine;

void UseDesignFont(QWidget* dialog) {
    QFont f = dialog->font();
    f.setFamily(QStringLiteral("Tahoma"));
    dialog->setFont(f);
}

TFormatSetupForm::TFormatSetupForm(TGlobalVars& vars, const QString& objectName, const QString& caption,
                                   int presetMax, bool withSpecifiedSettings, const QString& helpTopic,
                                   QWidget* parent)
    : QDialog(parent), vars_(vars), helpTopic_(helpTopic), withSpecified_(withSpecifiedSettings) {
    setObjectName(objectName);
    setWindowTitle(caption);
    UseDesignFont(this);

    ImageSliderPreset = new TImageSlider(this);
    ImageSliderPreset->setObjectName("ImageSliderPreset");
    ImageSliderPreset->SetRange(0, presetMax);
    ImageSliderPreset->SetOptions(TImageSlider::soShowPoints);
    ImageSliderPreset->setMinimumWidth(220);

    LabelPresetQuality1 = NewLabel(this, "LabelPresetQuality1");
    QFont bold = LabelPresetQuality1->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    LabelPresetQuality1->setFont(bold);
    LabelPresetQuality1->setAlignment(Qt::AlignHCenter);
    LabelPresetQuality2 = NewLabel(this, "LabelPresetQuality2");
    LabelPresetQuality2->setAlignment(Qt::AlignHCenter);
    LabelLowQuality = NewLabel(this, "LabelLowQuality", "Low Quality,\nSmall Size");
    LabelLowQuality->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelHighQuality = NewLabel(this, "LabelHighQuality", "High Quality,\nLarge Size");
    LabelHighQuality->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    ButtonOK = NewButton(this, "ButtonOK", "OK");
    ButtonOK->setDefault(true);
    ButtonCancel = NewButton(this, "ButtonCancel", "Cancel");
    ButtonHelp = NewButton(this, "ButtonHelp", "&Help");

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 14, 16, 14);
    root->setSpacing(8);

    // The preset part.
    auto* preset = new QGridLayout;
    preset->setHorizontalSpacing(10);
    preset->setVerticalSpacing(4);
    preset->addWidget(LabelPresetQuality1, 0, 1);
    preset->addWidget(LabelPresetQuality2, 1, 1);
    preset->addWidget(LabelLowQuality, 2, 0);
    preset->addWidget(ImageSliderPreset, 2, 1);
    preset->addWidget(LabelHighQuality, 2, 2);
    preset->setColumnStretch(1, 1);

    if (withSpecifiedSettings) {
        RadioButtonPresetQuality = new QRadioButton("&Preset Quality:", this);
        RadioButtonPresetQuality->setObjectName("RadioButtonPresetQuality");
        RadioButtonSpecifySettings = new QRadioButton("&Specify Settings:", this);
        RadioButtonSpecifySettings->setObjectName("RadioButtonSpecifySettings");
        LabelSpecifySettings = NewLabel(this, "LabelSpecifySettings");
        LabelSpecifySettings->setWordWrap(true);
        LabelSpecifySettings->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        LabelSpecifySettings->setMinimumHeight(3 * LabelSpecifySettings->fontMetrics().lineSpacing());
        LabelSpecifySettings->setFrameShape(QFrame::StyledPanel);
        LabelSpecifySettings->setMargin(4);
        ButtonConfigure = NewButton(this, "ButtonConfigure", "&Configure...");

        root->addWidget(RadioButtonPresetQuality);
        auto* indentPreset = new QHBoxLayout;
        indentPreset->addSpacing(20);
        indentPreset->addLayout(preset, 1);
        root->addLayout(indentPreset);
        root->addSpacing(6);
        root->addWidget(NewLine(this));
        root->addWidget(RadioButtonSpecifySettings);
        auto* specify = new QHBoxLayout;
        specify->addSpacing(20);
        specify->addWidget(LabelSpecifySettings, 1);
        specify->addWidget(ButtonConfigure, 0, Qt::AlignTop);
        root->addLayout(specify);

        connect(RadioButtonPresetQuality, &QRadioButton::toggled, this,
                [this](bool on) { if (on) RadioButtonPresetQualityClick(); });
        connect(RadioButtonSpecifySettings, &QRadioButton::toggled, this,
                [this](bool on) { if (on) RadioButtonSpecifySettingsClick(); });
        connect(ButtonConfigure, &QPushButton::clicked, this, &TFormatSetupForm::ButtonConfigureClick);
        RadioButtonPresetQuality->setChecked(true);
    } else {
        auto* title = new QLabel("Preset Quality:", this);
        root->addWidget(title);
        auto* indentPreset = new QHBoxLayout;
        indentPreset->addSpacing(20);
        indentPreset->addLayout(preset, 1);
        root->addLayout(indentPreset);
    }

    root->addSpacing(6);
    root->addWidget(NewLine(this));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonHelp);
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    root->addLayout(buttons);

    connect(ImageSliderPreset, &TImageSlider::Change, this, &TFormatSetupForm::ImageSliderPresetChange);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonHelp, &QPushButton::clicked, this, &TFormatSetupForm::ButtonHelpClick);

    setMinimumWidth(480);
    setSizeGripEnabled(false);
}

void TFormatSetupForm::LoadTypeAndPreset(int type, int preset) {
    if (withSpecified_) {
        if (type == 1) RadioButtonSpecifySettings->setChecked(true);
        else RadioButtonPresetQuality->setChecked(true);
    }
    ImageSliderPreset->SetValue(preset);
    UpdatePresetLabels();
}

int TFormatSetupForm::StoredType() const {
    return withSpecified_ && RadioButtonSpecifySettings->isChecked() ? 1 : 0;
}

void TFormatSetupForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TFormatSetupForm::FormShow() {
    sw::ApplyHintFont(this);
    if (withSpecified_) UpdateEnabling();
    UpdatePresetLabels();
    if (withSpecified_) UpdateSpecifyDescription();
}

void TFormatSetupForm::UpdateEnabling() {
    if (!withSpecified_) return;
    const bool preset = RadioButtonPresetQuality->isChecked();
    const bool specify = RadioButtonSpecifySettings->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{LabelPresetQuality1, LabelPresetQuality2, LabelLowQuality,
                                                      ImageSliderPreset, LabelHighQuality})
        w->setEnabled(preset);
    LabelSpecifySettings->setEnabled(specify);
    ButtonConfigure->setEnabled(specify);
}

void TFormatSetupForm::UpdatePresetLabels() {
    QString l1, l2;
    if (!PresetLabels(ImageSliderPreset->Value(), &l1, &l2)) return;
    LabelPresetQuality1->setText(l1);
    LabelPresetQuality2->setText(l2);
}

void TFormatSetupForm::UpdateSpecifyDescription() {
    if (LabelSpecifySettings) LabelSpecifySettings->setText(SpecifiedDescription());
}

void TFormatSetupForm::RadioButtonPresetQualityClick() { UpdateEnabling(); }
void TFormatSetupForm::RadioButtonSpecifySettingsClick() { UpdateEnabling(); }
void TFormatSetupForm::ImageSliderPresetChange(int) { UpdatePresetLabels(); }

void TFormatSetupForm::ButtonConfigureClick() {
    if (RunSpecifyDialog()) UpdateSpecifyDescription();
}

void TFormatSetupForm::ButtonHelpClick() { sw::ShowHelpTopicGuarded(this, helpTopic_); }
