#pragma once
// The welcome window: what to do first (new file, recording, open, CD,
// speech), the three newest recent files, four tutorials and the choice to
// show the window at start.
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class RecentFiles;
struct TGlobalVars;

enum class WelcomeChoice { None, NewFile, NewRecord, Open, LoadCD, TextToSpeech, RecentFile };

class TWelcomeStartForm : public QDialog {
    Q_OBJECT
public:
    // `mruPath` is the recent files list's file (MRUList.dat).
    TWelcomeStartForm(TGlobalVars& vars, RecentFiles& recent, const QString& displayName, const QString& exeDir,
                      const QString& mruPath, QWidget* parent = nullptr);

    WelcomeChoice choice() const { return choice_; }
    QString chosenFile() const { return chosenFile_; }

    // Clicks on the clickable labels (what the mouse does, for tests too).
    void LabelClick(QLabel* label);
    // Shows the newest three recent files, or hides them with labClear.
    void RefreshRecent();

    QLabel* ImageMain = nullptr;
    QLabel* LabelNew = nullptr;
    QLabel* LabelNewRecording = nullptr;
    QLabel* labMore = nullptr;
    QLabel* LabelLoadfromCD = nullptr;
    QLabel* LabelTexttoSpeech = nullptr;
    QLabel* lab1 = nullptr;
    QLabel* lab2 = nullptr;
    QLabel* lab3 = nullptr;
    QLabel* labClear = nullptr;
    QLabel* LabelHowTo1 = nullptr;
    QLabel* LabelHowTo2 = nullptr;
    QLabel* LabelHowTo3 = nullptr;
    QLabel* LabelHowTo4 = nullptr;
    QCheckBox* CheckBoxShowAtStart = nullptr;
    QLabel* LabelShowAtStart = nullptr;
    QPushButton* ButtonClose = nullptr;

    // Colours of a clickable label under the mouse and otherwise.
    static QColor HoverColour() { return QColor(0x9A, 0xD7, 0xF3); }
    static QColor NormalColour() { return QColor(0xFF, 0xFF, 0xFF); }
    static bool IsHighlighted(const QLabel* label);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* clickable(const char* name, const QString& text);
    void setHighlighted(QLabel* label, bool on);

    TGlobalVars& vars_;
    RecentFiles& recent_;
    QString mruPath_;
    QList<QLabel*> clickable_;
    WelcomeChoice choice_ = WelcomeChoice::None;
    QString chosenFile_;
};
