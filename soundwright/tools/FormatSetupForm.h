#pragma once
// What the four "... File Setup" dialogs share: a preset slider with its two
// preset labels and the low/high labels, for WAV, MP3 and OGG also the choice
// between the preset and specified settings with a "Configure..." button,
// and OK, Cancel and Help.
#include <QDialog>

#include "ImageSlider.h"

class QLabel;
class QPushButton;
class QRadioButton;
struct TGlobalVars;

class TFormatSetupForm : public QDialog {
    Q_OBJECT
public:
    // Copies the settings record into the controls / the controls back.
    virtual void LoadFromSettings() = 0;
    virtual void StoreToSettings() = 0;

    // Controls (named by objectName as well). The specify controls are
    // nullptr in a dialog without specified settings.
    QRadioButton* RadioButtonPresetQuality = nullptr;
    QRadioButton* RadioButtonSpecifySettings = nullptr;
    TImageSlider* ImageSliderPreset = nullptr;
    QLabel* LabelPresetQuality1 = nullptr;
    QLabel* LabelPresetQuality2 = nullptr;
    QLabel* LabelLowQuality = nullptr;
    QLabel* LabelHighQuality = nullptr;
    QLabel* LabelSpecifySettings = nullptr;
    QPushButton* ButtonConfigure = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QPushButton* ButtonHelp = nullptr;

protected:
    TFormatSetupForm(TGlobalVars& vars, const QString& objectName, const QString& caption, int presetMax,
                     bool withSpecifiedSettings, const QString& helpTopic, QWidget* parent);

    // The two labels of a preset position; false outside the preset table.
    virtual bool PresetLabels(int position, QString* label1, QString* label2) const = 0;
    // The description of the specified settings in the record.
    virtual QString SpecifiedDescription() const { return {}; }
    // Opens the sub-dialog; true when it stored its settings.
    virtual bool RunSpecifyDialog() { return false; }

    // Load and store helpers for the Type field and the preset slider.
    void LoadTypeAndPreset(int type, int preset);
    int StoredType() const;

    void showEvent(QShowEvent* e) override;
    void FormShow();
    void UpdateEnabling();
    void UpdatePresetLabels();
    void UpdateSpecifyDescription();

    void RadioButtonPresetQualityClick();
    void RadioButtonSpecifySettingsClick();
    void ImageSliderPresetChange(int position);
    void ButtonConfigureClick();
    void ButtonHelpClick();

    TGlobalVars& vars_;

private:
    QString helpTopic_;
    bool withSpecified_;
};

// Gives a dialog the design font ("Tahoma" at the application's size), which
// the hint-font convention replaces on show.
void UseDesignFont(QWidget* dialog);
