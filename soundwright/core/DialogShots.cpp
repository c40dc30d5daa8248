#include "DialogShots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "ConvertSampleRateForm.h"
#include "EditID3Form.h"
#include "FormProgress.h"
#include "Help.h"
#include "HelpWindow.h"
#include "MainForm.h"
#include "NewFileForm.h"
#include "RecentFiles.h"
#include "WelcomeStartForm.h"

namespace {

void Save(QWidget& w, const QString& outDir, const QString& name) {
    w.adjustSize();
    w.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    w.grab().save(QDir(outDir).filePath(name + ".png"));
    w.hide();
}

}  // namespace

void RenderDialogShots(TMainForm& main, const QString& outDir) {
    QDir().mkpath(outDir);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    main.grab().save(QDir(outDir).filePath("main-window.png"));

    RecentFiles recent;
    for (const char* f : {"/home/user/Music/interview.mp3", "/home/user/Music/demo take 2.wav",
                          "/home/user/Music/podcast-episode-12.ogg"})
        recent.Touch(f);
    const QString mru = QDir::temp().filePath("sw-shots-mru.dat");
    recent.Save(mru);
    TGlobalVars vars = main.Vars();
    {
        TWelcomeStartForm welcome(vars, recent, main.Identity().displayName,
                                  QCoreApplication::applicationDirPath(), mru, &main);
        Save(welcome, outDir, "dialog_WelcomeStartForm");
    }
    QFile::remove(mru);
    {
        TNewFileForm form(&main);
        Save(form, outDir, "dialog_NewFileForm");
    }
    {
        TConvertSampleRateForm form(&main);
        Save(form, outDir, "dialog_ConvertSampleRateForm");
    }
    {
        TEditID3Form form(&main);
        form.EditTitle->setText("Morning Birds");
        form.EditArtist->setText("Field Recordings");
        form.EditAlbum->setText("Garden, May");
        form.ComboBoxGenre->addItems({"Blues", "Classic Rock", "Country", "Dance", "Disco"});
        form.EditYear->setText("2026");
        form.MemoComment->setPlainText("Recorded at dawn.");
        Save(form, outDir, "dialog_EditID3Form");
    }
    {
        TFormProgress form;
        form.setFixedSize(300, 128);
        form.ProgressBar->setValue(42);
        form.show();
        QApplication::processEvents();
        form.grab().save(QDir(outDir).filePath("dialog_FormProgress.png"));
    }
    try {
        sw::ShowHelpTopic(&main, "CreateOpenandSaveaudiofiles");
        if (sw::HelpWindow* w = sw::Help().window()) {
            w->resize(640, 480);
            for (int i = 0; i < 3; ++i) QApplication::processEvents();
            w->grab().save(QDir(outDir).filePath("dialog_HelpWindow.png"));
            w->close();
        }
    } catch (const std::exception&) {
    }
}
