#pragma once
// "MP3 File Setup" and its "Configure MP3 Settings" sub-dialog.
#include <QDialog>

#include "FormatSetupForm.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
struct TGlobalVars;

class TMp3SettingsSpecifyForm : public QDialog {
    Q_OBJECT
public:
    explicit TMp3SettingsSpecifyForm(TGlobalVars& vars, QWidget* parent = nullptr);
    void LoadFromSettings();
    void StoreToSettings();

    QLabel* LabelMode = nullptr;
    QComboBox* ComboBoxMode = nullptr;
    QRadioButton* RadioButtonConstant = nullptr;
    QComboBox* ComboBoxConstant = nullptr;
    QRadioButton* RadioButtonVariable = nullptr;
    QGroupBox* GroupBoxVariable = nullptr;
    QLabel* LabelMin = nullptr;
    QComboBox* ComboBoxMin = nullptr;
    QLabel* LabelMax = nullptr;
    QComboBox* ComboBoxMax = nullptr;
    QRadioButton* RadioButtonQuality = nullptr;
    TImageSlider* ImageSliderQuality = nullptr;
    QLabel* LabelLow = nullptr;
    QLabel* LabelHigh = nullptr;
    QLabel* LabelQuality = nullptr;
    QRadioButton* RadioButtonSetAverage = nullptr;
    QComboBox* ComboBoxSetAverage = nullptr;
    QCheckBox* CheckBoxWriteXING = nullptr;
    QCheckBox* CheckBoxChecksum = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void UpdateEnabling();
    void UpdateQualityLabel();
    void ComboBoxMinChange(int index);
    void ComboBoxMaxChange(int index);

    TGlobalVars& vars_;
    bool loading_ = false;
};

class TMp3FormatForm : public TFormatSetupForm {
    Q_OBJECT
public:
    explicit TMp3FormatForm(TGlobalVars& vars, QWidget* parent = nullptr);
    void LoadFromSettings() override;
    void StoreToSettings() override;

protected:
    bool PresetLabels(int position, QString* label1, QString* label2) const override;
    QString SpecifiedDescription() const override;
    bool RunSpecifyDialog() override;
};
