#include "WelcomeStartForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogConventions.h"
#include "GlobalVars.h"
#include "Help.h"
#include "RecentFiles.h"

namespace {

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    l->setFont(f);
    l->setStyleSheet("color: #f3d79a;");
    return l;
}

}  // namespace

TWelcomeStartForm::TWelcomeStartForm(TGlobalVars& vars, RecentFiles& recent, const QString& displayName,
                                     const QString& exeDir, const QString& mruPath, QWidget* parent)
    : QDialog(parent), vars_(vars), recent_(recent), mruPath_(mruPath) {
    setObjectName("TWelcomeStartForm");
    setWindowTitle(QString("Welcome to %1!").arg(displayName));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x1c, 0x2a, 0x3e));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 10);
    ImageMain = new QLabel(this);
    ImageMain->setObjectName("ImageMain");
    const QString picture = exeDir + "/welcome.png";
    if (QFileInfo(picture).isFile()) ImageMain->setPixmap(QPixmap(picture));
    column->addWidget(ImageMain);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(20, 8, 20, 4);
    grid->setHorizontalSpacing(30);
    grid->setVerticalSpacing(4);
    column->addLayout(grid);

    grid->addWidget(Heading("Start", this), 0, 0);
    LabelNew = clickable("LabelNew", "New File");
    LabelNewRecording = clickable("LabelNewRecording", "New Recording");
    labMore = clickable("labMore", "Open File...");
    LabelLoadfromCD = clickable("LabelLoadfromCD", "Load from CD");
    LabelTexttoSpeech = clickable("LabelTexttoSpeech", "Text to Speech");
    int r = 1;
    for (QLabel* l : {LabelNew, LabelNewRecording, labMore, LabelLoadfromCD, LabelTexttoSpeech}) grid->addWidget(l, r++, 0);

    grid->addWidget(Heading("Recent Files", this), 0, 1);
    lab1 = clickable("lab1", QString());
    lab2 = clickable("lab2", QString());
    lab3 = clickable("lab3", QString());
    labClear = clickable("labClear", "Clear the list");
    r = 1;
    for (QLabel* l : {lab1, lab2, lab3, labClear}) grid->addWidget(l, r++, 1);

    grid->addWidget(Heading("Tutorials", this), 0, 2);
    LabelHowTo1 = clickable("LabelHowTo1", "1. Record Quick Tour");
    LabelHowTo2 = clickable("LabelHowTo2", "2. Importing Audio Tracks from CDs");
    LabelHowTo3 = clickable("LabelHowTo3", "3. Basic Audio Editing");
    LabelHowTo4 = clickable("LabelHowTo4", "4. Connecting Your Stereo Equipment");
    r = 1;
    for (QLabel* l : {LabelHowTo1, LabelHowTo2, LabelHowTo3, LabelHowTo4}) grid->addWidget(l, r++, 2);
    grid->setRowStretch(6, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(20, 4, 20, 0);
    CheckBoxShowAtStart = new QCheckBox(this);
    CheckBoxShowAtStart->setObjectName("CheckBoxShowAtStart");
    CheckBoxShowAtStart->setChecked(vars_.ShowStartDialog);
    LabelShowAtStart = clickable("LabelShowAtStart", "Show this window when the program starts");
    ButtonClose = new QPushButton("Close", this);
    ButtonClose->setObjectName("ButtonClose");
    bottom->addWidget(CheckBoxShowAtStart);
    bottom->addWidget(LabelShowAtStart);
    bottom->addStretch(1);
    bottom->addWidget(ButtonClose);
    column->addLayout(bottom);

    connect(CheckBoxShowAtStart, &QCheckBox::toggled, this, [this](bool on) { vars_.ShowStartDialog = on; });
    connect(ButtonClose, &QPushButton::clicked, this, [this] {
        choice_ = WelcomeChoice::None;
        reject();
    });
    // Drawn in Tahoma; the hint font takes its place already here, so the
    // size is right when the dialog is placed over its owner.
    setFont(QFont("Tahoma", font().pointSize()));
    sw::ApplyHintFont(this);
    RefreshRecent();
}

QLabel* TWelcomeStartForm::clickable(const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(name);
    l->setCursor(Qt::PointingHandCursor);
    l->installEventFilter(this);
    clickable_ << l;
    setHighlighted(l, false);
    return l;
}

void TWelcomeStartForm::setHighlighted(QLabel* label, bool on) {
    QFont f = label->font();
    f.setUnderline(on);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, on ? HoverColour() : NormalColour());
    label->setPalette(p);
}

bool TWelcomeStartForm::IsHighlighted(const QLabel* label) {
    return label->font().underline() && label->palette().color(QPalette::WindowText) == HoverColour();
}

void TWelcomeStartForm::RefreshRecent() {
    const QStringList& list = recent_.list;
    const bool any = QFileInfo::exists(mruPath_) && !list.isEmpty();
    const QList<QLabel*> labels = {lab1, lab2, lab3};
    for (int i = 0; i < 3; ++i) {
        const bool shown = any && i < list.size();
        QLabel* l = labels[i];
        if (shown) {
            const QString path = list[list.size() - 1 - i];
            l->setText(QFileInfo(path).fileName());
            l->setToolTip(path);
            l->setProperty("path", path);
        } else {
            l->clear();
            l->setToolTip(QString());
            l->setProperty("path", QVariant());
        }
        l->setVisible(shown);
    }
    labClear->setVisible(any);
}

void TWelcomeStartForm::LabelClick(QLabel* label) {
    auto chooseAndClose = [this](WelcomeChoice c) {
        choice_ = c;
        accept();
    };
    if (label == LabelNew) chooseAndClose(WelcomeChoice::NewFile);
    else if (label == LabelNewRecording) chooseAndClose(WelcomeChoice::NewRecord);
    else if (label == labMore) chooseAndClose(WelcomeChoice::Open);
    else if (label == LabelLoadfromCD) chooseAndClose(WelcomeChoice::LoadCD);
    else if (label == LabelTexttoSpeech) chooseAndClose(WelcomeChoice::TextToSpeech);
    else if (label == lab1 || label == lab2 || label == lab3) {
        chosenFile_ = label->property("path").toString();
        if (!chosenFile_.isEmpty()) chooseAndClose(WelcomeChoice::RecentFile);
    } else if (label == labClear) {
        recent_.Clear();
        recent_.Save(mruPath_);
        RefreshRecent();
    } else if (label == LabelShowAtStart) {
        CheckBoxShowAtStart->toggle();
    } else if (label == LabelHowTo1) sw::ShowHelpTopicGuarded(this, "RecordQuicktour");
    else if (label == LabelHowTo2) sw::ShowHelpTopicGuarded(this, "ImportingAudioTracksfromCD");
    else if (label == LabelHowTo3) sw::ShowHelpTopicGuarded(this, "BasicAudioEditing");
    else if (label == LabelHowTo4) sw::ShowHelpTopicGuarded(this, "ConnectingYourStereoEquipment");
}

bool TWelcomeStartForm::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && clickable_.contains(label)) {
        switch (event->type()) {
        case QEvent::Enter: setHighlighted(label, true); break;
        case QEvent::Leave: setHighlighted(label, false); break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
                label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
                LabelClick(label);
                return true;
            }
            break;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TWelcomeStartForm::showEvent(QShowEvent* event) {
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}
