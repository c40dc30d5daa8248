#pragma once
// The small dialogs of the editing commands: Insert Silence, Repeat Loop,
// Paste Mix, Set Selection and Options, and the functions the commands run
// them through (each through the dialog service).
#include <QDialog>
#include <QString>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QTabWidget;
class RecentFiles;
struct TGlobalVars;

// "Insert Silence": milliseconds of silence.
class TInsertSilenceForm : public QDialog {
    Q_OBJECT
public:
    explicit TInsertSilenceForm(QWidget* parent = nullptr);
    QLineEdit* EditSilenceTime = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
protected:
    void showEvent(QShowEvent* event) override;
};

// "Repeat Loop": how many copies (0 to 9).
class TRepeatLoopForm : public QDialog {
    Q_OBJECT
public:
    explicit TRepeatLoopForm(QWidget* parent = nullptr);
    QLineEdit* EditRepeatTimes = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
protected:
    void showEvent(QShowEvent* event) override;
};

// "Paste Mix": the two mix levels and what happens when the mixed audio is
// longer than the selection.
class TPasteMixForm : public QDialog {
    Q_OBJECT
public:
    explicit TPasteMixForm(QWidget* parent = nullptr);
    QLineEdit* EditSelectPart = nullptr;
    QLineEdit* EditAudioInBuffer = nullptr;
    QRadioButton* RadioButtonIncreaseSelection = nullptr;
    QRadioButton* RadioButtonInsertSilence = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnHelp = nullptr;
    // Refuses levels above 100 % with a message and the field focused.
    void btnOKClick();
protected:
    void showEvent(QShowEvent* event) override;
};

// "Set Selection": start, end and length as time text, kept within the
// document while the user types.
class TSelectSpecifiedTimeForm : public QDialog {
    Q_OBJECT
public:
    // start, end and the document length in milliseconds.
    TSelectSpecifiedTimeForm(qint64 start, qint64 end, qint64 documentLength, QWidget* parent = nullptr);
    QLineEdit* EditStart = nullptr;
    QLineEdit* EditEnd = nullptr;
    QLineEdit* EditLength = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

    qint64 Start() const { return start_; }
    qint64 End() const { return end_; }

    // A field got the focus (its text is remembered) or lost it (its text
    // is read and the selection follows).
    void FieldEnter(QLineEdit* field);
    void FieldExit(QLineEdit* field);
    // Runs the focused field's rule, then closes with OK.
    void ButtonOKClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showAll();
    qint64 given_start_, given_end_;
    qint64 length_;
    qint64 start_ = 0, end_ = 0;
    QLineEdit* editing_ = nullptr;
    QString remembered_;
};

// "Options": what New File does, the recent files list, the work folder and
// when to play automatically.
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(TGlobalVars& vars, RecentFiles& recent, const QString& recentFilesPath, QWidget* parent = nullptr);

    QTabWidget* PageControl = nullptr;
    QRadioButton* RadioButtonPrompt = nullptr;
    QRadioButton* RadioButtonUseDefault = nullptr;
    QPushButton* ButtonSetDefault = nullptr;
    QPushButton* ButtonDeleteRecent = nullptr;
    QRadioButton* RadioButtonUseDefaultFolder = nullptr;
    QRadioButton* RadioButtonUseSpecifiedFolder = nullptr;
    QLineEdit* EditFolder = nullptr;
    QPushButton* ButtonFolder = nullptr;
    QCheckBox* CheckBoxPlayAfterOpen = nullptr;
    QCheckBox* CheckBoxPlayAfterEdit = nullptr;
    QCheckBox* CheckBoxPlayAfterBookbark = nullptr;
    QCheckBox* CheckBoxPlayAfterRegion = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QPushButton* ButtonHelp = nullptr;

    void LoadOptions();
    void StoreOptions();
    void ButtonSetDefaultClick();
    void ButtonFolderClick();
    void ButtonDeleteRecentClick();
    // Enables the default button and the folder controls by their radios.
    void UpdateEnabling();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TGlobalVars& vars_;
    RecentFiles& recent_;
    QString recentPath_;
};

namespace edit_dialogs {
// Insert Silence with `ms` shown; gives the typed text.
bool AskInsertSilence(QWidget* owner, int ms, QString& text);
// Repeat Loop; gives the typed text.
bool AskRepeat(QWidget* owner, QString& text);
struct PasteMixValues {
    QString selectPart, audioInBuffer;   // typed texts
    bool increaseSelection = true;
    bool increaseEnabled = true;         // the "Increase selection" button may be chosen
};
// Paste Mix filled from `values` (the percentages as numbers in the texts).
bool AskPasteMix(QWidget* owner, PasteMixValues& values);
// Set Selection over [start, end] of a document of `length` ms.
bool AskSelection(QWidget* owner, qint64& start, qint64& end, qint64 length);
// Options; true after OK (the record holds the new values then).
bool RunOptions(QWidget* owner, TGlobalVars& vars, RecentFiles& recent, const QString& recentFilesPath);
}  // namespace edit_dialogs
