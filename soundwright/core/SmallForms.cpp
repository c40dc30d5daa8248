// The dialogs of the document commands and the functions the commands run
// them through.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ConvertSampleRateForm.h"
#include "DialogConventions.h"
#include "DialogService.h"
#include "Document.h"
#include "EditID3Form.h"
#include "Help.h"
#include "MessageService.h"
#include "NewFileForm.h"

namespace {

// OK (default), Cancel and an optional Help in a row at the bottom right.
QHBoxLayout* ButtonRow(QDialog* d, QPushButton** ok, QPushButton** cancel, QPushButton** help) {
    auto* row = new QHBoxLayout;
    if (help) {
        *help = new QPushButton("&Help", d);
        (*help)->setObjectName("ButtonHelp");
        (*help)->setAutoDefault(false);
        row->addWidget(*help);
    }
    row->addStretch(1);
    *ok = new QPushButton("&OK", d);
    (*ok)->setObjectName("ButtonOK");
    (*ok)->setDefault(true);
    *cancel = new QPushButton("&Cancel", d);
    (*cancel)->setObjectName("ButtonCancel");
    (*cancel)->setAutoDefault(false);
    row->addWidget(*ok);
    row->addWidget(*cancel);
    QObject::connect(*cancel, &QPushButton::clicked, d, &QDialog::reject);
    return row;
}

}  // namespace

// ---- New Sample -------------------------------------------------------------

TNewFileForm::TNewFileForm(QWidget* parent) : QDialog(parent) {
    setObjectName("NewFileForm");
    setWindowTitle("New Sample");
    auto* column = new QVBoxLayout(this);
    auto* rateRow = new QHBoxLayout;
    auto* rateLabel = new QLabel("&Sample Rate:", this);
    cbSampleRate = new QComboBox(this);
    cbSampleRate->setObjectName("cbSampleRate");
    cbSampleRate->addItems({"96,000", "88,200", "48,000", "44,100", "32,000", "24,000", "22,050", "16,000",
                            "12,000", "11,025", "8,000", "6,000"});
    cbSampleRate->setCurrentIndex(3);
    rateLabel->setBuddy(cbSampleRate);
    rateRow->addWidget(rateLabel);
    rateRow->addWidget(cbSampleRate, 1);
    column->addLayout(rateRow);
    auto* channels = new QGroupBox("&Channels: ", this);
    auto* cl = new QVBoxLayout(channels);
    rbStereo = new QRadioButton("Ste&reo (Dual)", channels);
    rbStereo->setObjectName("rbStereo");
    rbStereo->setChecked(true);
    rbMono = new QRadioButton("&Mono (Single)", channels);
    rbMono->setObjectName("rbMono");
    cl->addWidget(rbStereo);
    cl->addWidget(rbMono);
    column->addWidget(channels);
    column->addLayout(ButtonRow(this, &ButtonOK, &ButtonCancel, &ButtonHelp));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonHelp, &QPushButton::clicked, this,
            [this] { sw::ShowHelpTopicGuarded(this, "CreateOpenandSaveaudiofiles"); });
    setFont(QFont("Tahoma", font().pointSize()));
}

void TNewFileForm::showEvent(QShowEvent* event) {
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

// ---- Convert Sample Rate ----------------------------------------------------

TConvertSampleRateForm::TConvertSampleRateForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ConvertSampleRateForm");
    setWindowTitle("Convert Sample Rate");
    auto* column = new QVBoxLayout(this);
    auto* rateGroup = new QGroupBox("Sample Rate:", this);
    auto* rl = new QHBoxLayout(rateGroup);
    rl->addWidget(new QLabel("New Sample Rate:", rateGroup));
    ComboBoxRate = new QComboBox(rateGroup);
    ComboBoxRate->setObjectName("ComboBoxRate");
    ComboBoxRate->addItems({"96000 Hz", "88200 Hz", "48000 Hz", "44100 Hz", "32000 Hz", "22050 Hz", "16000 Hz",
                            "11025 Hz", "8000 Hz", "6000 Hz"});
    ComboBoxRate->setCurrentIndex(3);
    rl->addWidget(ComboBoxRate, 1);
    column->addWidget(rateGroup);
    GroupBoxSChannels = new QGroupBox("Channels", this);
    GroupBoxSChannels->setObjectName("GroupBoxSChannels");
    auto* cl = new QHBoxLayout(GroupBoxSChannels);
    RadioButtonMono = new QRadioButton("Mono", GroupBoxSChannels);
    RadioButtonMono->setObjectName("RadioButtonMono");
    RadioButtonStereo = new QRadioButton("Stereo", GroupBoxSChannels);
    RadioButtonStereo->setObjectName("RadioButtonStereo");
    RadioButtonStereo->setChecked(true);
    cl->addWidget(RadioButtonMono);
    cl->addWidget(RadioButtonStereo);
    column->addWidget(GroupBoxSChannels);
    column->addLayout(ButtonRow(this, &ButtonOK, &ButtonCancel, nullptr));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    setFont(QFont("Tahoma", font().pointSize()));
}

void TConvertSampleRateForm::showEvent(QShowEvent* event) {
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

// ---- Edit Audio Tags --------------------------------------------------------

TEditID3Form::TEditID3Form(QWidget* parent) : QDialog(parent) {
    setObjectName("EditID3Form");
    setWindowTitle("Edit Audio Tags");
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditTitle = new QLineEdit(this);
    EditTitle->setObjectName("EditTitle");
    EditArtist = new QLineEdit(this);
    EditArtist->setObjectName("EditArtist");
    EditAlbum = new QLineEdit(this);
    EditAlbum->setObjectName("EditAlbum");
    ComboBoxGenre = new QComboBox(this);
    ComboBoxGenre->setObjectName("ComboBoxGenre");
    ComboBoxGenre->setMaxVisibleItems(16);
    EditYear = new QLineEdit(this);
    EditYear->setObjectName("EditYear");
    EditYear->setMaxLength(6);
    EditYear->setMaximumWidth(80);
    MemoComment = new QPlainTextEdit(this);
    MemoComment->setObjectName("MemoComment");
    MemoComment->setMinimumHeight(60);
    MemoComment->setMaximumHeight(100);
    form->addRow("Title:", EditTitle);
    form->addRow("Artist:", EditArtist);
    form->addRow("Album:", EditAlbum);
    form->addRow("Genre:", ComboBoxGenre);
    form->addRow("Year:", EditYear);
    form->addRow("Comment:", MemoComment);
    column->addLayout(form);
    column->addLayout(ButtonRow(this, &ButtonOK, &ButtonCancel, nullptr));
    connect(ButtonOK, &QPushButton::clicked, this, &TEditID3Form::ButtonOKClick);
    setFont(QFont("Tahoma", font().pointSize()));
    resize(380, sizeHint().height());
}

bool TEditID3Form::ParseYear(const QString& text, int* year) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (ok && year) *year = v;
    return ok;
}

void TEditID3Form::ButtonOKClick() {
    int y = 0;
    if (!ParseYear(EditYear->text(), &y)) {
        sw::ShowError(QString("'%1' is not a valid integer value").arg(EditYear->text()), this);
        EditYear->setFocus();
        EditYear->selectAll();
        return;
    }
    year_ = y;
    accept();
}

void TEditID3Form::showEvent(QShowEvent* event) {
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

// ---- What the document commands run -------------------------------------------

namespace document_dialogs {

bool AskNewFile(QWidget* owner, int& rateIndex, int& channelButton) {
    TNewFileForm form(owner);
    form.cbSampleRate->setCurrentIndex(rateIndex >= 0 && rateIndex < 12 ? rateIndex : 3);
    (channelButton == 1 ? form.rbMono : form.rbStereo)->setChecked(true);
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    rateIndex = form.cbSampleRate->currentIndex();
    channelButton = form.rbMono->isChecked() ? 1 : 0;
    return true;
}

bool AskSampleRate(QWidget* owner, int& row, bool& mono) {
    TConvertSampleRateForm form(owner);
    form.ComboBoxRate->setCurrentIndex(row >= 0 && row < 10 ? row : 3);
    (mono ? form.RadioButtonMono : form.RadioButtonStereo)->setChecked(true);
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    row = form.ComboBoxRate->currentIndex();
    mono = form.RadioButtonMono->isChecked();
    return true;
}

bool AskTags(QWidget* owner, const QStringList& genres, TagFields& tags) {
    TEditID3Form form(owner);
    form.ComboBoxGenre->addItems(genres);
    form.ComboBoxGenre->setCurrentIndex(tags.genre >= 0 && tags.genre < genres.size() ? tags.genre : -1);
    form.EditTitle->setText(tags.title);
    form.EditArtist->setText(tags.artist);
    form.EditAlbum->setText(tags.album);
    form.EditYear->setText(QString::number(tags.year));
    form.MemoComment->setPlainText(tags.comment);
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    tags.title = form.EditTitle->text();
    tags.artist = form.EditArtist->text();
    tags.album = form.EditAlbum->text();
    if (form.ComboBoxGenre->currentIndex() >= 0) tags.genre = form.ComboBoxGenre->currentIndex();
    tags.year = form.Year();
    tags.comment = form.MemoComment->toPlainText();
    return true;
}

}  // namespace document_dialogs
