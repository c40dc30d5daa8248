#pragma once
// "New Sample": the sample rate and channels of a new document.
#include <QDialog>

class QComboBox;
class QPushButton;
class QRadioButton;

class TNewFileForm : public QDialog {
    Q_OBJECT
public:
    explicit TNewFileForm(QWidget* parent = nullptr);

    QComboBox* cbSampleRate = nullptr;
    QRadioButton* rbStereo = nullptr;
    QRadioButton* rbMono = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QPushButton* ButtonHelp = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
