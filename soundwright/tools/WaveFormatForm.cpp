#include "WaveFormatForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogConventions.h"
#include "DialogService.h"
#include "FormDetails.h"
#include "GlobalVars.h"
#include "OutputFormats.h"

// ---- TWaveFormatSpecifyForm ------------------------------------------------

TWaveFormatSpecifyForm::TWaveFormatSpecifyForm(TGlobalVars& vars, QWidget* parent) : QDialog(parent), vars_(vars) {
    setObjectName("WaveFormatSpecifyForm");
    setWindowTitle("Configure Wave Settings");
    UseDesignFont(this);

    ComboBoxSampleRate = formdetail::NewCombo(this, "ComboBoxSampleRate", WaveSampleRateItems());
    ComboBoxBitDepth = formdetail::NewCombo(this, "ComboBoxBitDepth", WaveBitDepthItems());
    RadioButtonStereo = new QRadioButton("S&tereo", this);
    RadioButtonStereo->setObjectName("RadioButtonStereo");
    RadioButtonMono = new QRadioButton("&Mono", this);
    RadioButtonMono->setObjectName("RadioButtonMono");
    auto* group = new QButtonGroup(this);
    group->addButton(RadioButtonStereo);
    group->addButton(RadioButtonMono);
    RadioButtonStereo->setChecked(true);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(8);
    auto* rateLabel = formdetail::NewLabel(this, "LabelSampleRate", "Sample &Rate:");
    rateLabel->setBuddy(ComboBoxSampleRate);
    auto* depthLabel = formdetail::NewLabel(this, "LabelBitDepth", "&Bit Depth:");
    depthLabel->setBuddy(ComboBoxBitDepth);
    form->addRow(rateLabel, ComboBoxSampleRate);
    form->addRow(depthLabel, ComboBoxBitDepth);
    auto* channels = new QHBoxLayout;
    channels->addWidget(RadioButtonStereo);
    channels->addSpacing(16);
    channels->addWidget(RadioButtonMono);
    channels->addStretch(1);
    form->addRow(formdetail::NewLabel(this, "LabelChannels", "Channels:"), channels);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 14, 16, 14);
    root->setSpacing(10);
    root->addLayout(form);
    root->addStretch(1);
    root->addWidget(formdetail::NewLine(this));
    root->addLayout(formdetail::OkCancelRow(this, &ButtonOK, &ButtonCancel));
    setMinimumWidth(320);
}

void TWaveFormatSpecifyForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    sw::ApplyHintFont(this);
}

void TWaveFormatSpecifyForm::LoadFromSettings() {
    formdetail::SetIndex(ComboBoxSampleRate, vars_.OutputWAVSampleType);
    formdetail::SetIndex(ComboBoxBitDepth, vars_.OutputWAVBitesPerSample);
    if (vars_.OutputWAVMode == 1) RadioButtonMono->setChecked(true);
    else if (vars_.OutputWAVMode == 0) RadioButtonStereo->setChecked(true);
    else {
        // An unknown mode shows neither button and is kept on store.
        RadioButtonStereo->group()->setExclusive(false);
        RadioButtonStereo->setChecked(false);
        RadioButtonMono->setChecked(false);
        RadioButtonStereo->group()->setExclusive(true);
    }
}

void TWaveFormatSpecifyForm::StoreToSettings() {
    formdetail::StoreIndex(ComboBoxSampleRate, vars_.OutputWAVSampleType);
    formdetail::StoreIndex(ComboBoxBitDepth, vars_.OutputWAVBitesPerSample);
    if (RadioButtonStereo->isChecked()) vars_.OutputWAVMode = 0;
    else if (RadioButtonMono->isChecked()) vars_.OutputWAVMode = 1;
}

// ---- TWaveFormatForm -------------------------------------------------------

TWaveFormatForm::TWaveFormatForm(TGlobalVars& vars, QWidget* parent)
    : TFormatSetupForm(vars, "WaveFormatForm", "Wave File Setup", kWavPresetMax, true, "WAVSettings", parent) {}

void TWaveFormatForm::LoadFromSettings() { LoadTypeAndPreset(vars_.OutputWAVType, vars_.OutputWAVPersets); }

void TWaveFormatForm::StoreToSettings() {
    vars_.OutputWAVType = static_cast<unsigned char>(StoredType());
    vars_.OutputWAVPersets = static_cast<unsigned char>(ImageSliderPreset->Value());
}

bool TWaveFormatForm::PresetLabels(int position, QString* label1, QString* label2) const {
    const WavPresetRow* row = WavPresetAt(position);
    if (!row) return false;
    *label1 = QString::fromLatin1(row->Label1);
    *label2 = QString::fromLatin1(row->Label2);
    return true;
}

QString TWaveFormatForm::SpecifiedDescription() const { return DescribeWaveSettings(vars_); }

bool TWaveFormatForm::RunSpecifyDialog() {
    TWaveFormatSpecifyForm sub(vars_, this);
    sw::PlaceCentredOver(&sub, this);
    sub.LoadFromSettings();
    if (sw::ExecDialog(sub, this) != QDialog::Accepted) return false;
    sub.StoreToSettings();
    return true;
}
