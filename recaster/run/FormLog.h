#pragma once
// The log window: the lines the converter produces while it probes and
// converts files, with Save and Delete. It lives for the whole run, shown
// on demand and never modal; its position is kept in section "FormLog".
#include <QRect>
#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace rc {

class TFormLog : public QWidget {
    Q_OBJECT
public:
    explicit TFormLog(QWidget* parent = nullptr);

    // Appends one line at the end of the log.
    void AppendLine(const QString& line);
    QStringList Lines() const;
    bool SaveEnabled() const;

    // Where the window keeps its position ("FormLog" of this settings file)
    // and the screen it is kept on (the primary screen when invalid).
    void SetSettingsFile(const QString& path, const QRect& screen = QRect());
    // Writes the position to the settings file; false (with *error) on failure.
    bool SavePosition(QString* error = nullptr);

    // Handlers.
    void ButtonOKClick();
    void ButtonDeleteClick();
    void ButtonSaveClick();
    // Writes every line to the file; false with the system's text on failure.
    bool SaveToFile(const QString& path, QString* error = nullptr) const;

    // The centred button group of the bottom panel.
    void LayOutButtons();

protected:
    void showEvent(QShowEvent*) override;
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    QPlainTextEdit* memo_ = nullptr;
    QWidget* panel_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* save_ = nullptr;
    QString settingsFile_;
    QRect screen_;
    bool saveDisabledForGood_ = false;
};

// Left edges of OK, Delete and Save centred as one group in a panel of that
// client width: OK's left = width / 2 - group / 2, then 8 pixels between.
struct TLogButtonLefts {
    int ok, del, save;
};
TLogButtonLefts LogButtonLefts(int panelWidth, int okWidth, int deleteWidth, int saveWidth);

}  // namespace rc
