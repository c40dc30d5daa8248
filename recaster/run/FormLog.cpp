#include "FormLog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTextBlock>
#include <QVBoxLayout>

#include "DialogService.h"
#include "IniFile.h"
#include "MessageService.h"
#include "RunSettings.h"
#include "WindowPosition.h"

namespace rc {

TLogButtonLefts LogButtonLefts(int panelWidth, int okWidth, int deleteWidth, int saveWidth) {
    constexpr int gap = 8;
    const int group = okWidth + gap + deleteWidth + gap + saveWidth;
    TLogButtonLefts l;
    l.ok = panelWidth / 2 - group / 2;
    l.del = l.ok + okWidth + gap;
    l.save = l.del + deleteWidth + gap;
    return l;
}

TFormLog::TFormLog(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName("FormLog");
    setWindowTitle("Log");
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(560, 360);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("MemoLog");
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lay->addWidget(memo_, 1);

    panel_ = new QWidget(this);
    panel_->setObjectName("PanelBottom");
    panel_->setFixedHeight(41);
    panel_->installEventFilter(this);
    lay->addWidget(panel_);
    ok_ = new QPushButton("&OK", panel_);
    ok_->setObjectName("ButtonOK");
    ok_->setDefault(true);
    delete_ = new QPushButton("&Delete Log", panel_);
    delete_->setObjectName("ButtonDelete");
    save_ = new QPushButton("&Save Log...", panel_);
    save_->setObjectName("ButtonSave");
    for (QPushButton* b : {ok_, delete_, save_}) {
        b->resize(std::max(90, b->sizeHint().width()), 25);
        b->move(b->x(), 8);
    }
    connect(ok_, &QPushButton::clicked, this, &TFormLog::ButtonOKClick);
    connect(delete_, &QPushButton::clicked, this, &TFormLog::ButtonDeleteClick);
    connect(save_, &QPushButton::clicked, this, &TFormLog::ButtonSaveClick);
    LayOutButtons();
}

void TFormLog::AppendLine(const QString& line) { memo_->appendPlainText(line); }

QStringList TFormLog::Lines() const {
    QStringList out;
    if (memo_->document()->isEmpty()) return out;
    for (QTextBlock b = memo_->document()->begin(); b.isValid(); b = b.next()) out << b.text();
    return out;
}

bool TFormLog::SaveEnabled() const { return save_->isEnabled(); }

void TFormLog::SetSettingsFile(const QString& path, const QRect& screen) {
    settingsFile_ = path;
    screen_ = screen;
}

bool TFormLog::SavePosition(QString* error) {
    if (settingsFile_.isEmpty()) return true;
    sw::IniFile ini(settingsFile_);
    if (sw::WriteWindowPosition(ini, kLogFormSection, this, sw::WindowPositionStyle::MoveOnly))
        return true;
    if (error) *error = ini.errorString();
    return false;
}

void TFormLog::LayOutButtons() {
    const TLogButtonLefts l =
        LogButtonLefts(panel_->contentsRect().width(), ok_->width(), delete_->width(), save_->width());
    ok_->move(l.ok, ok_->y());
    delete_->move(l.del, delete_->y());
    save_->move(l.save, save_->y());
}

bool TFormLog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panel_ && event->type() == QEvent::Resize) LayOutButtons();
    return QWidget::eventFilter(watched, event);
}

void TFormLog::showEvent(QShowEvent* e) {
    if (!settingsFile_.isEmpty()) {
        const sw::IniFile ini(settingsFile_);
        sw::ReadWindowPosition(ini, kLogFormSection, this, sw::WindowPositionStyle::MoveOnly, screen_);
    }
    LayOutButtons();
    QWidget::showEvent(e);
}

void TFormLog::closeEvent(QCloseEvent* e) {
    QString error;
    if (!SavePosition(&error)) sw::ShowError(error, this);
    QWidget::closeEvent(e);
}

void TFormLog::keyPressEvent(QKeyEvent* e) {
    // OK is the default and the cancel button.
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        ButtonOKClick();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TFormLog::ButtonOKClick() { close(); }

void TFormLog::ButtonDeleteClick() {
    sw::Message m;
    m.kind = sw::MessageKind::Question;
    m.caption = QStringLiteral("Delete log?");
    m.text = QStringLiteral("Really delete log file?");
    m.buttons = sw::MessageButtons::YesNoCancel;
    QApplication::beep();
    if (sw::Messages().Show(m, this) != sw::MessageAnswer::Yes) return;
    memo_->clear();
    // Once deleted, the log is not offered for saving again in this run.
    saveDisabledForGood_ = true;
    save_->setEnabled(false);
}

bool TFormLog::SaveToFile(const QString& path, QString* error) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error) *error = QStringLiteral("Cannot create file \"%1\". %2").arg(path, f.errorString());
        return false;
    }
    QByteArray text;
    for (const QString& line : Lines()) text += line.toUtf8() + '\n';
    f.write(text);
    if (!f.commit()) {
        if (error) *error = QStringLiteral("Cannot write file \"%1\". %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

void TFormLog::ButtonSaveClick() {
    if (saveDisabledForGood_) return;
    sw::FileDialogRequest r;
    r.kind = sw::FileDialogRequest::Save;
    r.caption = QStringLiteral("Save Log");
    r.filter = sw::QtFilterFromPipes("Log-Files (*.log)|*.log|Text-Files (*.txt)|*.txt|All Files (*.*)|*.*");
    r.defaultSuffix = QStringLiteral("log");
    r.confirmOverwrite = true;
    const QString path = sw::Dialogs().GetFile(r, this);
    if (path.isEmpty()) return;
    QString error;
    if (!SaveToFile(path, &error)) sw::ShowError(error, this);
}

}  // namespace rc
