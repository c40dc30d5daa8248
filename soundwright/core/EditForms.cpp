#include "EditForms.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include "DialogConventions.h"
#include "DialogService.h"
#include "Document.h"
#include "GlobalVars.h"
#include "Help.h"
#include "MessageService.h"
#include "RecentFiles.h"
#include "TimeText.h"

namespace {

// OK (default) and Cancel, with an optional Help on the left.
QHBoxLayout* Buttons(QDialog* d, QPushButton** ok, QPushButton** cancel, QPushButton** help,
                     const char* okName = "ButtonOK", const char* cancelName = "ButtonCancel",
                     const char* helpName = "ButtonHelp") {
    auto* row = new QHBoxLayout;
    if (help) {
        *help = new QPushButton("&Help", d);
        (*help)->setObjectName(helpName);
        (*help)->setAutoDefault(false);
        row->addWidget(*help);
    }
    row->addStretch(1);
    *ok = new QPushButton("&OK", d);
    (*ok)->setObjectName(okName);
    (*ok)->setDefault(true);
    *cancel = new QPushButton("&Cancel", d);
    (*cancel)->setObjectName(cancelName);
    (*cancel)->setAutoDefault(false);
    row->addWidget(*ok);
    row->addWidget(*cancel);
    QObject::connect(*cancel, &QPushButton::clicked, d, &QDialog::reject);
    return row;
}

void DigitsOnly(QLineEdit* e) {
    if (!e->validator())
        e->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), e));
}

QLineEdit* NumberField(QWidget* parent, const char* name, int maxLength, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    DigitsOnly(e);
    return e;
}

void Finish(QDialog* d) {
    d->setFont(QFont("Tahoma", d->font().pointSize()));
}

}  // namespace

// ---- Insert Silence -----------------------------------------------------------

TInsertSilenceForm::TInsertSilenceForm(QWidget* parent) : QDialog(parent) {
    setObjectName("InsertSilenceForm");
    setWindowTitle("Insert Silence");
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("Silence &Time (ms):", this);
    EditSilenceTime = NumberField(this, "EditSilenceTime", 6, "0");
    label->setBuddy(EditSilenceTime);
    row->addWidget(label);
    row->addWidget(EditSilenceTime, 1);
    column->addLayout(row);
    column->addLayout(Buttons(this, &ButtonOK, &ButtonCancel, nullptr));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    Finish(this);
}

void TInsertSilenceForm::showEvent(QShowEvent* event) {
    DigitsOnly(EditSilenceTime);
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

// ---- Repeat Loop --------------------------------------------------------------

TRepeatLoopForm::TRepeatLoopForm(QWidget* parent) : QDialog(parent) {
    setObjectName("RepeatLoopForm");
    setWindowTitle("Repeat Loop");
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("&Repeat number of times:", this);
    EditRepeatTimes = NumberField(this, "EditRepeatTimes", 1, "1");
    label->setBuddy(EditRepeatTimes);
    row->addWidget(label);
    row->addWidget(EditRepeatTimes, 1);
    column->addLayout(row);
    column->addLayout(Buttons(this, &ButtonOK, &ButtonCancel, nullptr));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    Finish(this);
}

void TRepeatLoopForm::showEvent(QShowEvent* event) {
    DigitsOnly(EditRepeatTimes);
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

// ---- Paste Mix ----------------------------------------------------------------

TPasteMixForm::TPasteMixForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PasteMixForm");
    setWindowTitle("Paste Mix");
    auto* column = new QVBoxLayout(this);
    auto* volume = new QGroupBox("&Mix Volume", this);
    auto* form = new QFormLayout(volume);
    EditSelectPart = NumberField(volume, "EditSelectPart", 3, "100");
    EditAudioInBuffer = NumberField(volume, "EditAudioInBuffer", 3, "100");
    form->addRow("&Select Part (%):", EditSelectPart);
    form->addRow("&Audio in the Buffer (%):", EditAudioInBuffer);
    column->addWidget(volume);
    auto* longer = new QGroupBox("If mi&x audio is longer that selection:", this);
    auto* ll = new QVBoxLayout(longer);
    RadioButtonIncreaseSelection = new QRadioButton("Increase se&lection", longer);
    RadioButtonIncreaseSelection->setObjectName("RadioButtonIncreaseSelection");
    RadioButtonIncreaseSelection->setChecked(true);
    RadioButtonInsertSilence = new QRadioButton("&Insert silence", longer);
    RadioButtonInsertSilence->setObjectName("RadioButtonInsertSilence");
    ll->addWidget(RadioButtonIncreaseSelection);
    ll->addWidget(RadioButtonInsertSilence);
    column->addWidget(longer);
    column->addLayout(Buttons(this, &btnOK, &btnCancel, &btnHelp, "btnOK", "btnCancel", "btnHelp"));
    connect(btnOK, &QPushButton::clicked, this, &TPasteMixForm::btnOKClick);
    connect(btnHelp, &QPushButton::clicked, this, [this] { sw::ShowHelpTopicGuarded(this, "Editing"); });
    Finish(this);
}

void TPasteMixForm::btnOKClick() {
    for (QLineEdit* field : {EditSelectPart, EditAudioInBuffer}) {
        if (field->text().toInt() > 100) {
            sw::ShowError("Mix Volume must be less than 100%. Please try again.", this);
            field->setFocus();
            return;
        }
    }
    accept();
}

void TPasteMixForm::showEvent(QShowEvent* event) {
    DigitsOnly(EditSelectPart);
    DigitsOnly(EditAudioInBuffer);
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

// ---- Set Selection ------------------------------------------------------------

TSelectSpecifiedTimeForm::TSelectSpecifiedTimeForm(qint64 start, qint64 end, qint64 documentLength,
                                                   QWidget* parent)
    : QDialog(parent), given_start_(start), given_end_(end), length_(documentLength), start_(start), end_(end) {
    setObjectName("SelectSpecifiedTimeForm");
    setWindowTitle("Set Selection");
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    EditStart = new QLineEdit(this);
    EditStart->setObjectName("EditStart");
    EditEnd = new QLineEdit(this);
    EditEnd->setObjectName("EditEnd");
    EditLength = new QLineEdit(this);
    EditLength->setObjectName("EditLength");
    form->addRow("Specified &Time Start:", EditStart);
    form->addRow("&Specified Time End:", EditEnd);
    form->addRow("Specified Time &Length:", EditLength);
    column->addLayout(form);
    column->addLayout(Buttons(this, &ButtonOK, &ButtonCancel, nullptr));
    connect(ButtonOK, &QPushButton::clicked, this, &TSelectSpecifiedTimeForm::ButtonOKClick);
    for (QLineEdit* e : {EditStart, EditEnd, EditLength}) e->installEventFilter(this);
    Finish(this);
    showAll();
}

void TSelectSpecifiedTimeForm::showAll() {
    EditStart->setText(FormatTimeText(start_));
    EditEnd->setText(FormatTimeText(end_));
    EditLength->setText(FormatTimeText(end_ - start_));
}

void TSelectSpecifiedTimeForm::showEvent(QShowEvent* event) {
    start_ = given_start_;
    end_ = given_end_;
    editing_ = nullptr;
    showAll();
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

bool TSelectSpecifiedTimeForm::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field && (field == EditStart || field == EditEnd || field == EditLength)) {
        if (event->type() == QEvent::FocusIn) FieldEnter(field);
        else if (event->type() == QEvent::FocusOut) FieldExit(field);
    }
    return QDialog::eventFilter(watched, event);
}

void TSelectSpecifiedTimeForm::FieldEnter(QLineEdit* field) {
    editing_ = field;
    remembered_ = field->text();
}

void TSelectSpecifiedTimeForm::FieldExit(QLineEdit* field) {
    if (editing_ != field) return;   // already handled
    editing_ = nullptr;
    const qint64 c = ParseTimeText(field->text());
    if (c < 0) {
        field->setText(remembered_);
        return;
    }
    const TimeField which = field == EditStart ? TimeField::Start
                            : field == EditEnd ? TimeField::End
                                               : TimeField::Length;
    ApplyTypedTime(which, c, length_, start_, end_);
    switch (which) {
    case TimeField::Start:
        EditStart->setText(FormatTimeText(start_));
        if (end_ == start_) EditEnd->setText(FormatTimeText(end_));
        break;
    case TimeField::End: EditEnd->setText(FormatTimeText(end_)); break;
    case TimeField::Length: EditEnd->setText(FormatTimeText(end_)); break;
    }
    EditLength->setText(FormatTimeText(end_ - start_));
}

void TSelectSpecifiedTimeForm::ButtonOKClick() {
    ButtonOK->setFocus();
    // Without an active window the focus change sends no focus-out event.
    if (editing_) FieldExit(editing_);
    accept();
}

// ---- Options ------------------------------------------------------------------

TOptionsForm::TOptionsForm(TGlobalVars& vars, RecentFiles& recent, const QString& recentFilesPath, QWidget* parent)
    : QDialog(parent), vars_(vars), recent_(recent), recentPath_(recentFilesPath) {
    setObjectName("OptionsForm");
    setWindowTitle("Options");
    auto* column = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    column->addWidget(PageControl);

    auto* general = new QWidget;
    general->setObjectName("TabSheetGeneral");
    auto* gl = new QVBoxLayout(general);
    auto* newFile = new QGroupBox("&When creating a new file", general);
    auto* nl = new QVBoxLayout(newFile);
    RadioButtonPrompt = new QRadioButton("&Prompt for Sample Rate and Channels", newFile);
    RadioButtonPrompt->setObjectName("RadioButtonPrompt");
    RadioButtonUseDefault = new QRadioButton("&Use Default Sample Rate and Channels", newFile);
    RadioButtonUseDefault->setObjectName("RadioButtonUseDefault");
    ButtonSetDefault = new QPushButton("&Set Default Sample Rate and Channels", newFile);
    ButtonSetDefault->setObjectName("ButtonSetDefault");
    ButtonSetDefault->setAutoDefault(false);
    nl->addWidget(RadioButtonPrompt);
    nl->addWidget(RadioButtonUseDefault);
    nl->addWidget(ButtonSetDefault);
    gl->addWidget(newFile);
    auto* options = new QGroupBox("Options", general);
    auto* ol = new QVBoxLayout(options);
    ButtonDeleteRecent = new QPushButton("Delete &Recent Files List", options);
    ButtonDeleteRecent->setObjectName("ButtonDeleteRecent");
    ButtonDeleteRecent->setAutoDefault(false);
    ol->addWidget(ButtonDeleteRecent);
    gl->addWidget(options);
    gl->addStretch(1);
    PageControl->addTab(general, "General");

    auto* audio = new QWidget;
    audio->setObjectName("TabSheetAudioProcessing");
    auto* al = new QVBoxLayout(audio);
    auto* folder = new QGroupBox("Audio &Working Folder", audio);
    auto* fl = new QVBoxLayout(folder);
    RadioButtonUseDefaultFolder = new QRadioButton("Use Default User Data Folder", folder);
    RadioButtonUseDefaultFolder->setObjectName("RadioButtonUseDefaultFolder");
    RadioButtonUseSpecifiedFolder = new QRadioButton("Use this Specified Folder", folder);
    RadioButtonUseSpecifiedFolder->setObjectName("RadioButtonUseSpecifiedFolder");
    auto* folderRow = new QHBoxLayout;
    EditFolder = new QLineEdit(folder);
    EditFolder->setObjectName("EditFolder");
    ButtonFolder = new QPushButton("...", folder);
    ButtonFolder->setObjectName("ButtonFolder");
    ButtonFolder->setAutoDefault(false);
    ButtonFolder->setFixedWidth(30);
    folderRow->addWidget(EditFolder, 1);
    folderRow->addWidget(ButtonFolder);
    fl->addWidget(RadioButtonUseDefaultFolder);
    fl->addWidget(RadioButtonUseSpecifiedFolder);
    fl->addLayout(folderRow);
    al->addWidget(folder);
    auto* play = new QGroupBox("Play Options", audio);
    auto* pl = new QVBoxLayout(play);
    auto check = [&](const char* name, const char* caption) {
        auto* c = new QCheckBox(caption, play);
        c->setObjectName(name);
        pl->addWidget(c);
        return c;
    };
    CheckBoxPlayAfterOpen = check("CheckBoxPlayAfterOpen", "Play file automatically when opened");
    CheckBoxPlayAfterEdit = check("CheckBoxPlayAfterEdit", "Automatic &playback after any edit or effect");
    CheckBoxPlayAfterBookbark = check("CheckBoxPlayAfterBookbark", "Play file automatically after go to bookmark");
    CheckBoxPlayAfterRegion = check("CheckBoxPlayAfterRegion", "Play file automatically after select region");
    al->addWidget(play);
    al->addStretch(1);
    PageControl->addTab(audio, "Audio Processing");

    column->addLayout(Buttons(this, &ButtonOK, &ButtonCancel, &ButtonHelp));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonHelp, &QPushButton::clicked, this, [this] { sw::ShowHelpTopicGuarded(this, "APPOptions"); });
    connect(ButtonSetDefault, &QPushButton::clicked, this, &TOptionsForm::ButtonSetDefaultClick);
    connect(ButtonFolder, &QPushButton::clicked, this, &TOptionsForm::ButtonFolderClick);
    connect(ButtonDeleteRecent, &QPushButton::clicked, this, &TOptionsForm::ButtonDeleteRecentClick);
    for (QRadioButton* r : {RadioButtonPrompt, RadioButtonUseDefault, RadioButtonUseDefaultFolder,
                            RadioButtonUseSpecifiedFolder})
        connect(r, &QRadioButton::toggled, this, &TOptionsForm::UpdateEnabling);
    Finish(this);
    LoadOptions();
}

void TOptionsForm::LoadOptions() {
    (vars_.OP_PromptNewFile ? RadioButtonPrompt : RadioButtonUseDefault)->setChecked(true);
    (vars_.OP_UseDefFolder ? RadioButtonUseDefaultFolder : RadioButtonUseSpecifiedFolder)->setChecked(true);
    EditFolder->setText(vars_.OP_WorkingFolder);
    CheckBoxPlayAfterOpen->setChecked(vars_.OP_PlayAfterOpened);
    CheckBoxPlayAfterEdit->setChecked(vars_.OP_PlayAfterEdit);
    CheckBoxPlayAfterBookbark->setChecked(vars_.OP_PlayAfterBookmark);
    CheckBoxPlayAfterRegion->setChecked(vars_.OP_PlayAfterRegion);
    UpdateEnabling();
}

void TOptionsForm::StoreOptions() {
    vars_.OP_PromptNewFile = RadioButtonPrompt->isChecked();
    vars_.OP_UseDefFolder = RadioButtonUseDefaultFolder->isChecked();
    vars_.OP_WorkingFolder = EditFolder->text();
    vars_.OP_PlayAfterOpened = CheckBoxPlayAfterOpen->isChecked();
    vars_.OP_PlayAfterEdit = CheckBoxPlayAfterEdit->isChecked();
    vars_.OP_PlayAfterBookmark = CheckBoxPlayAfterBookbark->isChecked();
    vars_.OP_PlayAfterRegion = CheckBoxPlayAfterRegion->isChecked();
}

void TOptionsForm::UpdateEnabling() {
    ButtonSetDefault->setEnabled(RadioButtonUseDefault->isChecked());
    const bool specified = RadioButtonUseSpecifiedFolder->isChecked();
    EditFolder->setEnabled(specified);
    ButtonFolder->setEnabled(specified);
}

void TOptionsForm::ButtonSetDefaultClick() {
    int row = ResampleRowOf(vars_.OP_DefSample);
    bool mono = vars_.OP_DefChannel == 1;
    if (!document_dialogs::AskSampleRate(this, row, mono)) return;
    // Taken at once: Cancel in this dialog later does not undo it.
    vars_.OP_DefSample = kResampleRates[row];
    vars_.OP_DefChannel = mono ? 1 : 2;
}

void TOptionsForm::ButtonFolderClick() {
    sw::FileDialogRequest r;
    r.kind = sw::FileDialogRequest::Folder;
    r.caption = "Please select a folder";
    r.directory = vars_.OP_WorkingFolder;
    const QString path = sw::Dialogs().GetFile(r, this);
    if (path.isEmpty()) return;
    vars_.OP_WorkingFolder = path;
    EditFolder->setText(path);
}

void TOptionsForm::ButtonDeleteRecentClick() {
    if (sw::AskYesNoCancel("Are you sure you want to delete your recent files list?", this) !=
        sw::MessageAnswer::Yes)
        return;
    recent_.Clear();
    if (!recent_.Save(recentPath_)) sw::ShowError("Cannot write " + recentPath_ + ".", this);
}

void TOptionsForm::showEvent(QShowEvent* event) {
    UpdateEnabling();
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

// ---- What the editing commands run ----------------------------------------------

namespace edit_dialogs {

bool AskInsertSilence(QWidget* owner, int ms, QString& text) {
    TInsertSilenceForm form(owner);
    form.EditSilenceTime->setText(QString::number(ms));
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    text = form.EditSilenceTime->text();
    return true;
}

bool AskRepeat(QWidget* owner, QString& text) {
    TRepeatLoopForm form(owner);
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    text = form.EditRepeatTimes->text();
    return true;
}

bool AskPasteMix(QWidget* owner, PasteMixValues& values) {
    TPasteMixForm form(owner);
    form.EditSelectPart->setText(values.selectPart);
    form.EditAudioInBuffer->setText(values.audioInBuffer);
    if (!values.increaseEnabled) values.increaseSelection = false;
    (values.increaseSelection ? form.RadioButtonIncreaseSelection : form.RadioButtonInsertSilence)->setChecked(true);
    form.RadioButtonIncreaseSelection->setEnabled(values.increaseEnabled);
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    values.selectPart = form.EditSelectPart->text();
    values.audioInBuffer = form.EditAudioInBuffer->text();
    values.increaseSelection = form.RadioButtonIncreaseSelection->isChecked();
    return true;
}

bool AskSelection(QWidget* owner, qint64& start, qint64& end, qint64 length) {
    TSelectSpecifiedTimeForm form(start, end, length, owner);
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    start = form.Start();
    end = form.End();
    return true;
}

bool RunOptions(QWidget* owner, TGlobalVars& vars, RecentFiles& recent, const QString& recentFilesPath) {
    TOptionsForm form(vars, recent, recentFilesPath, owner);
    sw::PlaceCentredOver(&form, owner);
    if (sw::ExecDialog(form, owner) != QDialog::Accepted) return false;
    form.StoreOptions();
    return true;
}

}  // namespace edit_dialogs
