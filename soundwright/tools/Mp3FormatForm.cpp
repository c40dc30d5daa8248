#include "Mp3FormatForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
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

namespace {

QRadioButton* NewRadio(QWidget* parent, const QString& name, const QString& text) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(name);
    return r;
}

QCheckBox* NewCheck(QWidget* parent, const QString& name, const QString& text) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}

// The quality slider runs from the smallest file (left, level 9) to the best
// sound (right, level 0).
constexpr int kQualityTop = 9;

}  // namespace

// ---- TMp3SettingsSpecifyForm -----------------------------------------------

TMp3SettingsSpecifyForm::TMp3SettingsSpecifyForm(TGlobalVars& vars, QWidget* parent)
    : QDialog(parent), vars_(vars) {
    setObjectName("Mp3SettingsSpecifyForm");
    setWindowTitle("Configure MP3 Settings");
    UseDesignFont(this);

    LabelMode = formdetail::NewLabel(this, "LabelMode", "&Mode:");
    ComboBoxMode = formdetail::NewCombo(this, "ComboBoxMode", Mp3ModeItems());
    LabelMode->setBuddy(ComboBoxMode);

    RadioButtonConstant = NewRadio(this, "RadioButtonConstant", "&Constant Bit Rate");
    ComboBoxConstant = formdetail::NewCombo(this, "ComboBoxConstant", Mp3FullBitRateItems());
    RadioButtonVariable = NewRadio(this, "RadioButtonVariable", "&Variable Bit Rate");
    auto* rateGroup = new QButtonGroup(this);
    rateGroup->addButton(RadioButtonConstant);
    rateGroup->addButton(RadioButtonVariable);

    GroupBoxVariable = new QGroupBox(this);
    GroupBoxVariable->setObjectName("GroupBoxVariable");
    LabelMin = formdetail::NewLabel(GroupBoxVariable, "LabelMin", "Mi&nimum Bit Rate:");
    ComboBoxMin = formdetail::NewCombo(GroupBoxVariable, "ComboBoxMin", Mp3MinBitRateItems());
    LabelMin->setBuddy(ComboBoxMin);
    LabelMax = formdetail::NewLabel(GroupBoxVariable, "LabelMax", "Ma&ximum Bit Rate:");
    ComboBoxMax = formdetail::NewCombo(GroupBoxVariable, "ComboBoxMax", Mp3MaxBitRateItems());
    LabelMax->setBuddy(ComboBoxMax);

    RadioButtonQuality = NewRadio(GroupBoxVariable, "RadioButtonQuality", "&Quality Level");
    ImageSliderQuality = new TImageSlider(GroupBoxVariable);
    ImageSliderQuality->setObjectName("ImageSliderQuality");
    ImageSliderQuality->SetRange(0, kQualityTop);
    ImageSliderQuality->SetIncrement(1);
    ImageSliderQuality->SetOptions(TImageSlider::soShowPoints);
    LabelLow = formdetail::NewLabel(GroupBoxVariable, "LabelLow", "Low: 9");
    LabelHigh = formdetail::NewLabel(GroupBoxVariable, "LabelHigh", "High: 0");
    LabelQuality = formdetail::NewLabel(GroupBoxVariable, "LabelQuality");
    LabelQuality->setAlignment(Qt::AlignCenter);
    LabelQuality->setMinimumWidth(LabelQuality->fontMetrics().horizontalAdvance("000"));
    RadioButtonSetAverage = NewRadio(GroupBoxVariable, "RadioButtonSetAverage", "Set &Average Bit Rate:");
    ComboBoxSetAverage = formdetail::NewCombo(GroupBoxVariable, "ComboBoxSetAverage", Mp3FullBitRateItems());
    auto* steerGroup = new QButtonGroup(this);
    steerGroup->addButton(RadioButtonQuality);
    steerGroup->addButton(RadioButtonSetAverage);
    CheckBoxWriteXING =
        NewCheck(GroupBoxVariable, "CheckBoxWriteXING", "Write &XING compatible variable bit rate header");
    CheckBoxChecksum = NewCheck(this, "CheckBoxChecksum", "Check&sum");

    // Layout.
    auto* variable = new QGridLayout(GroupBoxVariable);
    variable->setContentsMargins(12, 10, 12, 10);
    variable->setHorizontalSpacing(8);
    variable->setVerticalSpacing(8);
    variable->addWidget(LabelMin, 0, 0);
    variable->addWidget(ComboBoxMin, 0, 1);
    variable->addWidget(LabelMax, 1, 0);
    variable->addWidget(ComboBoxMax, 1, 1);
    variable->addWidget(RadioButtonQuality, 2, 0, 1, 3);
    auto* slider = new QHBoxLayout;
    slider->addSpacing(20);
    slider->addWidget(LabelLow);
    slider->addWidget(ImageSliderQuality, 1);
    slider->addWidget(LabelHigh);
    slider->addSpacing(8);
    slider->addWidget(LabelQuality);
    variable->addLayout(slider, 3, 0, 1, 3);
    variable->addWidget(RadioButtonSetAverage, 4, 0);
    variable->addWidget(ComboBoxSetAverage, 4, 1);
    variable->addWidget(CheckBoxWriteXING, 5, 0, 1, 3);
    variable->setColumnStretch(2, 1);

    auto* top = new QGridLayout;
    top->setHorizontalSpacing(8);
    top->setVerticalSpacing(8);
    top->addWidget(LabelMode, 0, 0);
    top->addWidget(ComboBoxMode, 0, 1);
    top->addWidget(RadioButtonConstant, 1, 0);
    top->addWidget(ComboBoxConstant, 1, 1);
    top->addWidget(RadioButtonVariable, 2, 0, 1, 3);
    top->setColumnStretch(2, 1);

    auto* indented = new QHBoxLayout;
    indented->addSpacing(20);
    indented->addWidget(GroupBoxVariable, 1);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 14, 16, 14);
    root->setSpacing(8);
    root->addLayout(top);
    root->addLayout(indented);
    root->addWidget(CheckBoxChecksum);
    root->addStretch(1);
    root->addWidget(formdetail::NewLine(this));
    root->addLayout(formdetail::OkCancelRow(this, &ButtonOK, &ButtonCancel));

    for (QRadioButton* r : {RadioButtonConstant, RadioButtonVariable, RadioButtonQuality, RadioButtonSetAverage})
        connect(r, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
    connect(ComboBoxMin, &QComboBox::currentIndexChanged, this, &TMp3SettingsSpecifyForm::ComboBoxMinChange);
    connect(ComboBoxMax, &QComboBox::currentIndexChanged, this, &TMp3SettingsSpecifyForm::ComboBoxMaxChange);
    connect(ImageSliderQuality, &TImageSlider::Change, this, [this] { UpdateQualityLabel(); });

    RadioButtonConstant->setChecked(true);
    RadioButtonQuality->setChecked(true);
    UpdateEnabling();
    UpdateQualityLabel();
}

void TMp3SettingsSpecifyForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TMp3SettingsSpecifyForm::FormShow() {
    sw::ApplyHintFont(this);
    UpdateEnabling();
    UpdateQualityLabel();
}

void TMp3SettingsSpecifyForm::UpdateEnabling() {
    const bool variable = RadioButtonVariable->isChecked();
    const bool quality = variable && RadioButtonQuality->isChecked();
    const bool average = variable && RadioButtonSetAverage->isChecked();
    ComboBoxConstant->setEnabled(RadioButtonConstant->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{GroupBoxVariable, LabelMin, ComboBoxMin, LabelMax, ComboBoxMax,
                                                      RadioButtonQuality, RadioButtonSetAverage, CheckBoxWriteXING})
        w->setEnabled(variable);
    for (QWidget* w : std::initializer_list<QWidget*>{ImageSliderQuality, LabelLow, LabelHigh, LabelQuality})
        w->setEnabled(quality);
    ComboBoxSetAverage->setEnabled(average);
    CheckBoxChecksum->setEnabled(true);
}

void TMp3SettingsSpecifyForm::UpdateQualityLabel() {
    LabelQuality->setText(QString::number(kQualityTop - ImageSliderQuality->Value()));
}

// The maximum list starts one step above the minimum list, so equal indexes
// keep the maximum above the minimum.
void TMp3SettingsSpecifyForm::ComboBoxMinChange(int index) {
    if (loading_ || index < 0) return;
    if (ComboBoxMax->currentIndex() < index) ComboBoxMax->setCurrentIndex(index);
}

void TMp3SettingsSpecifyForm::ComboBoxMaxChange(int index) {
    if (loading_ || index < 0) return;
    if (index < ComboBoxMin->currentIndex()) ComboBoxMin->setCurrentIndex(index);
}

void TMp3SettingsSpecifyForm::LoadFromSettings() {
    loading_ = true;
    formdetail::SetIndex(ComboBoxMode, vars_.OutputMP3Mode);
    RadioButtonConstant->setChecked(vars_.OutputMP3CBR);
    RadioButtonVariable->setChecked(!vars_.OutputMP3CBR);
    formdetail::SetIndex(ComboBoxConstant, vars_.OutputMP3CBRBitRate);
    formdetail::SetIndex(ComboBoxMin, vars_.OutputMP3VBRBitRateMin);
    formdetail::SetIndex(ComboBoxMax, vars_.OutputMP3VBRBitRateMax);
    RadioButtonQuality->setChecked(vars_.OutputMP3QualityLevel);
    RadioButtonSetAverage->setChecked(!vars_.OutputMP3QualityLevel);
    ImageSliderQuality->SetValue(kQualityTop - vars_.OutputMP3QualityLevelValue);
    formdetail::SetIndex(ComboBoxSetAverage, vars_.OutputMP3ABRBitRate);
    CheckBoxWriteXING->setChecked(vars_.OutputMP3WriteXING);
    CheckBoxChecksum->setChecked(vars_.OutputMP3Checksum);
    loading_ = false;
    UpdateEnabling();
    UpdateQualityLabel();
}

void TMp3SettingsSpecifyForm::StoreToSettings() {
    formdetail::StoreIndex(ComboBoxMode, vars_.OutputMP3Mode);
    vars_.OutputMP3CBR = RadioButtonConstant->isChecked();
    formdetail::StoreIndex(ComboBoxConstant, vars_.OutputMP3CBRBitRate);
    formdetail::StoreIndex(ComboBoxMin, vars_.OutputMP3VBRBitRateMin);
    formdetail::StoreIndex(ComboBoxMax, vars_.OutputMP3VBRBitRateMax);
    vars_.OutputMP3QualityLevel = RadioButtonQuality->isChecked();
    vars_.OutputMP3QualityLevelValue = kQualityTop - ImageSliderQuality->Value();
    formdetail::StoreIndex(ComboBoxSetAverage, vars_.OutputMP3ABRBitRate);
    vars_.OutputMP3WriteXING = CheckBoxWriteXING->isChecked();
    vars_.OutputMP3Checksum = CheckBoxChecksum->isChecked();
}

// ---- TMp3FormatForm --------------------------------------------------------

TMp3FormatForm::TMp3FormatForm(TGlobalVars& vars, QWidget* parent)
    : TFormatSetupForm(vars, "Mp3FormatForm", "MP3 File Setup", kMp3PresetMax, true, "MP3Settings", parent) {}

void TMp3FormatForm::LoadFromSettings() { LoadTypeAndPreset(vars_.OutputMP3Type, vars_.OutputMP3Presets); }

void TMp3FormatForm::StoreToSettings() {
    vars_.OutputMP3Type = static_cast<unsigned char>(StoredType());
    vars_.OutputMP3Presets = static_cast<unsigned char>(ImageSliderPreset->Value());
}

bool TMp3FormatForm::PresetLabels(int position, QString* label1, QString* label2) const {
    const Mp3PresetRow* row = Mp3PresetAt(position);
    if (!row) return false;
    *label1 = QString::fromLatin1(row->Label1);
    *label2 = QString::fromLatin1(row->Label2);
    return true;
}

QString TMp3FormatForm::SpecifiedDescription() const { return DescribeMp3Settings(vars_); }

bool TMp3FormatForm::RunSpecifyDialog() {
    TMp3SettingsSpecifyForm sub(vars_, this);
    sw::PlaceCentredOver(&sub, this);
    sub.LoadFromSettings();
    if (sw::ExecDialog(sub, this) != QDialog::Accepted) return false;
    sub.StoreToSettings();
    return true;
}
