#pragma once
// "Wave File Setup" and its "Configure Wave Settings" sub-dialog.
#include <QDialog>

#include "FormatSetupForm.h"

class QComboBox;
class QRadioButton;
class QPushButton;
struct TGlobalVars;

class TWaveFormatSpecifyForm : public QDialog {
    Q_OBJECT
public:
    explicit TWaveFormatSpecifyForm(TGlobalVars& vars, QWidget* parent = nullptr);
    void LoadFromSettings();
    void StoreToSettings();

    QComboBox* ComboBoxSampleRate = nullptr;
    QComboBox* ComboBoxBitDepth = nullptr;
    QRadioButton* RadioButtonMono = nullptr;
    QRadioButton* RadioButtonStereo = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;

private:
    TGlobalVars& vars_;
};

class TWaveFormatForm : public TFormatSetupForm {
    Q_OBJECT
public:
    explicit TWaveFormatForm(TGlobalVars& vars, QWidget* parent = nullptr);
    void LoadFromSettings() override;
    void StoreToSettings() override;

protected:
    bool PresetLabels(int position, QString* label1, QString* label2) const override;
    QString SpecifiedDescription() const override;
    bool RunSpecifyDialog() override;
};
