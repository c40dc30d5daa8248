// The dialogs of the document commands, run through the dialog service and
// placed over their owner.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "ConvertSampleRateForm.h"
#include "DialogConventions.h"
#include "DialogService.h"
#include "Document.h"
#include "EditID3Form.h"
#include "NewFileForm.h"

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
