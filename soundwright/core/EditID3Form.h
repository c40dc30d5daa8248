#pragma once
// "Edit Audio Tags": title, artist, album, genre, year and comment. OK checks
// the year first; a year that is not an integer is reported and the dialog
// stays open with nothing taken over.
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TEditID3Form : public QDialog {
    Q_OBJECT
public:
    explicit TEditID3Form(QWidget* parent = nullptr);

    QLineEdit* EditTitle = nullptr;
    QLineEdit* EditArtist = nullptr;
    QLineEdit* EditAlbum = nullptr;
    QComboBox* ComboBoxGenre = nullptr;
    QLineEdit* EditYear = nullptr;
    QPlainTextEdit* MemoComment = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

    // The year as an integer after a successful OK.
    int Year() const { return year_; }
    // Parses a year the way the conversion does: optional blanks, an
    // optional sign and decimal digits that fit in 32 bits.
    static bool ParseYear(const QString& text, int* year);

    void ButtonOKClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    int year_ = 0;
};
