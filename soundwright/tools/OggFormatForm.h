#pragma once
// "OGG File Setup" and its "Configure OGG Settings" sub-dialog.
#include <QDialog>

#include "FormatSetupForm.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
struct TGlobalVars;

class TOGGSettingsSpecifyForm : public QDialog {
    Q_OBJECT
public:
    explicit TOGGSettingsSpecifyForm(TGlobalVars& vars, QWidget* parent = nullptr);
    void LoadFromSettings();
    void StoreToSettings();

    // The "Mode" radio group: item 0 Stereo, item 1 Mono; -1 with no item.
    int ModeItemIndex() const;
    void SetModeItemIndex(int index);

    QGroupBox* GroupBoxMode = nullptr;
    QRadioButton* RadioButtonStereo = nullptr;   // the group's items
    QRadioButton* RadioButtonMono = nullptr;
    QRadioButton* RadioButtonAverage = nullptr;
    QComboBox* ComboBoxSetAverage = nullptr;
    QRadioButton* RadioButtonVariable = nullptr;
    TImageSlider* ImageSliderQuality = nullptr;
    QLabel* LabelQuality = nullptr;
    QLabel* LabelLowQuality = nullptr;
    QLabel* LabelHighQuality = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormShow();
    void UpdateEnabling();
    void UpdateQualityLabel();

    TGlobalVars& vars_;
    QButtonGroup* modeGroup_ = nullptr;
};

class TOGGFormatForm : public TFormatSetupForm {
    Q_OBJECT
public:
    explicit TOGGFormatForm(TGlobalVars& vars, QWidget* parent = nullptr);
    void LoadFromSettings() override;
    void StoreToSettings() override;

protected:
    bool PresetLabels(int position, QString* label1, QString* label2) const override;
    QString SpecifiedDescription() const override;
    bool RunSpecifyDialog() override;
};
