#include "EditID3Form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogButtonRow.h"
#include "DialogConventions.h"
#include "MessageService.h"

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
    column->addLayout(sw::DialogButtonRow(this, &ButtonOK, &ButtonCancel, nullptr));
    connect(ButtonOK, &QPushButton::clicked, this, &TEditID3Form::ButtonOKClick);
    // Drawn in Tahoma; the hint font takes its place already here, so the
    // size is right when the dialog is placed over its owner.
    setFont(QFont("Tahoma", font().pointSize()));
    sw::ApplyHintFont(this);
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

