#pragma once
// "Convert Sample Rate": the new rate and channels of the document.
#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

class TConvertSampleRateForm : public QDialog {
    Q_OBJECT
public:
    explicit TConvertSampleRateForm(QWidget* parent = nullptr);

    QComboBox* ComboBoxRate = nullptr;
    QGroupBox* GroupBoxSChannels = nullptr;
    QRadioButton* RadioButtonMono = nullptr;
    QRadioButton* RadioButtonStereo = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
