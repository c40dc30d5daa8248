#include "OggFormatForm.h"

#include <QButtonGroup>
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

constexpr int kQualityMin = 1;
constexpr int kQualityMax = 100;

}  // namespace

// ---- TOGGSettingsSpecifyForm -----------------------------------------------

TOGGSettingsSpecifyForm::TOGGSettingsSpecifyForm(TGlobalVars& vars, QWidget* parent) : QDialog(parent), vars_(vars) {
    setObjectName("OGGSettingsSpecifyForm");
    setWindowTitle("Configure OGG Settings");
    UseDesignFont(this);

    GroupBoxMode = new QGroupBox("Mode", this);
    GroupBoxMode->setObjectName("GroupBoxMode");
    RadioButtonStereo = NewRadio(GroupBoxMode, "RadioButtonStereo", "Stereo");
    RadioButtonMono = NewRadio(GroupBoxMode, "RadioButtonMono", "Mono");
    modeGroup_ = new QButtonGroup(this);
    modeGroup_->addButton(RadioButtonStereo, 0);
    modeGroup_->addButton(RadioButtonMono, 1);
    auto* modeLayout = new QHBoxLayout(GroupBoxMode);
    modeLayout->setContentsMargins(12, 8, 12, 8);
    modeLayout->addWidget(RadioButtonStereo);
    modeLayout->addSpacing(24);
    modeLayout->addWidget(RadioButtonMono);
    modeLayout->addStretch(1);

    RadioButtonAverage = NewRadio(this, "RadioButtonAverage", "&Average Bit Rate:");
    ComboBoxSetAverage = formdetail::NewCombo(this, "ComboBoxSetAverage", OggBitRateItems());
    RadioButtonVariable = NewRadio(this, "RadioButtonVariable", "&Variable Bit Rate");
    auto* rateGroup = new QButtonGroup(this);
    rateGroup->addButton(RadioButtonAverage);
    rateGroup->addButton(RadioButtonVariable);

    ImageSliderQuality = new TImageSlider(this);
    ImageSliderQuality->setObjectName("ImageSliderQuality");
    ImageSliderQuality->SetRange(kQualityMin, kQualityMax);
    ImageSliderQuality->SetIncrement(1);
    ImageSliderQuality->SetOptions(TImageSlider::soSmooth);
    LabelLowQuality = formdetail::NewLabel(this, "LabelLowQuality", "Low Quality");
    LabelHighQuality = formdetail::NewLabel(this, "LabelHighQuality", "High Quality");
    LabelQuality = formdetail::NewLabel(this, "LabelQuality");
    LabelQuality->setAlignment(Qt::AlignCenter);
    LabelQuality->setMinimumWidth(LabelQuality->fontMetrics().horizontalAdvance("0000%"));

    auto* average = new QHBoxLayout;
    average->addWidget(RadioButtonAverage);
    average->addWidget(ComboBoxSetAverage);
    average->addStretch(1);
    auto* slider = new QHBoxLayout;
    slider->addSpacing(20);
    slider->addWidget(LabelLowQuality);
    slider->addWidget(ImageSliderQuality, 1);
    slider->addWidget(LabelHighQuality);
    slider->addSpacing(8);
    slider->addWidget(LabelQuality);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(16, 14, 16, 14);
    root->setSpacing(8);
    root->addWidget(GroupBoxMode);
    root->addSpacing(4);
    root->addLayout(average);
    root->addWidget(RadioButtonVariable);
    root->addLayout(slider);
    root->addSpacing(6);
    root->addStretch(1);
    root->addWidget(formdetail::NewLine(this));
    root->addLayout(formdetail::OkCancelRow(this, &ButtonOK, &ButtonCancel));
    setMinimumWidth(400);

    for (QRadioButton* r : {RadioButtonAverage, RadioButtonVariable})
        connect(r, &QRadioButton::toggled, this, [this] { UpdateEnabling(); });
    connect(ImageSliderQuality, &TImageSlider::Change, this, [this] { UpdateQualityLabel(); });

    RadioButtonStereo->setChecked(true);
    RadioButtonVariable->setChecked(true);
    UpdateEnabling();
    UpdateQualityLabel();
}

int TOGGSettingsSpecifyForm::ModeItemIndex() const { return modeGroup_->checkedId(); }

void TOGGSettingsSpecifyForm::SetModeItemIndex(int index) {
    if (QAbstractButton* b = modeGroup_->button(index)) {
        b->setChecked(true);
        return;
    }
    // No item: clear the group.
    modeGroup_->setExclusive(false);
    for (QAbstractButton* b : modeGroup_->buttons()) b->setChecked(false);
    modeGroup_->setExclusive(true);
}

void TOGGSettingsSpecifyForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TOGGSettingsSpecifyForm::FormShow() {
    sw::ApplyHintFont(this);
    UpdateEnabling();
    UpdateQualityLabel();
}

void TOGGSettingsSpecifyForm::UpdateEnabling() {
    const bool variable = RadioButtonVariable->isChecked();
    ComboBoxSetAverage->setEnabled(RadioButtonAverage->isChecked());
    for (QWidget* w : std::initializer_list<QWidget*>{LabelLowQuality, ImageSliderQuality, LabelHighQuality,
                                                      LabelQuality})
        w->setEnabled(variable);
}

void TOGGSettingsSpecifyForm::UpdateQualityLabel() {
    LabelQuality->setText(QString::number(ImageSliderQuality->Value()) + "%");
}

void TOGGSettingsSpecifyForm::LoadFromSettings() {
    SetModeItemIndex(vars_.OutputOGGMode);
    RadioButtonAverage->setChecked(vars_.OutputOGGABR);
    RadioButtonVariable->setChecked(!vars_.OutputOGGABR);
    ImageSliderQuality->SetValue(vars_.OutputOGGQualityValue);
    formdetail::SetIndex(ComboBoxSetAverage, vars_.OutputOGGABRBitRate);
    UpdateEnabling();
    UpdateQualityLabel();
}

void TOGGSettingsSpecifyForm::StoreToSettings() {
    // With no mode item chosen the stored mode stays as it was.
    if (ModeItemIndex() >= 0) vars_.OutputOGGMode = static_cast<unsigned char>(ModeItemIndex());
    vars_.OutputOGGABR = RadioButtonAverage->isChecked();
    vars_.OutputOGGQualityValue = ImageSliderQuality->Value();
    formdetail::StoreIndex(ComboBoxSetAverage, vars_.OutputOGGABRBitRate);
}

// ---- TOGGFormatForm --------------------------------------------------------

TOGGFormatForm::TOGGFormatForm(TGlobalVars& vars, QWidget* parent)
    : TFormatSetupForm(vars, "OGGFormatForm", "OGG File Setup", kOggPresetMax, true, "OGGSettings", parent) {}

void TOGGFormatForm::LoadFromSettings() { LoadTypeAndPreset(vars_.OutputOGGType, vars_.OutputOGGPresets); }

void TOGGFormatForm::StoreToSettings() {
    vars_.OutputOGGType = static_cast<unsigned char>(StoredType());
    vars_.OutputOGGPresets = static_cast<unsigned char>(ImageSliderPreset->Value());
}

bool TOGGFormatForm::PresetLabels(int position, QString* label1, QString* label2) const {
    const OggPresetRow* row = OggPresetAt(position);
    if (!row) return false;
    *label1 = QString::fromLatin1(row->Label1);
    *label2 = QString::fromLatin1(row->Label2);
    return true;
}

QString TOGGFormatForm::SpecifiedDescription() const { return DescribeOggSettings(vars_); }

bool TOGGFormatForm::RunSpecifyDialog() {
    TOGGSettingsSpecifyForm sub(vars_, this);
    sw::PlaceCentredOver(&sub, this);
    sub.LoadFromSettings();
    if (sw::ExecDialog(sub, this) != QDialog::Accepted) return false;
    sub.StoreToSettings();
    return true;
}
