#pragma once
// The progress window shown while the editor works on a long operation, and
// the two operations that show and hide it over the main window.
#include <QDialog>

class QLabel;
class QProgressBar;

class TFormProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFormProgress(QWidget* parent = nullptr);

    QLabel* LabelProcess = nullptr;   // "Process audio data."
    QLabel* LabelWait = nullptr;      // "Please wait..."
    QLabel* ImageIcon = nullptr;
    QProgressBar* ProgressBar = nullptr;
};

class TProgressDisplay {
public:
    TProgressDisplay(QWidget* mainWindow, TFormProgress* form);

    // On each block of a long operation: the main window is disabled; the
    // window is sized 300 by 128 with a fixed border and centred over the main
    // window when not yet showing; the bar takes the percent; pending events
    // are processed.
    void ShowProgress(int percent, bool disableMain = true);
    // The effect processor's blocks pass disableMain = false (and its end
    // enableMain = false): the window stays usable.
    // At the end of every operation: the main window is enabled again; a
    // showing window is hidden, sized 0 by 0 and left without a border.
    void HideProgress(bool enableMain = true);

private:
    QWidget* main_;
    TFormProgress* form_;
};
