#include "DialogShots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QWidget>

#include "ConvertSampleRateForm.h"
#include "DialogConventions.h"
#include "EditForms.h"
#include "EditID3Form.h"
#include "FormProgress.h"
#include "GlobalVars.h"
#include "Help.h"
#include "HelpWindow.h"
#include "NewFileForm.h"
#include "RecentFiles.h"
#include "WelcomeStartForm.h"
#include "codec/Tags.h"

namespace {

void Save(QWidget& w, const QString& outDir) {
    QApplication::processEvents();
    w.grab().save(QDir(outDir).filePath("dialog_" + w.objectName() + ".png"));
}

// Shows the dialog where it would open over the owner, saves it and hides it.
void Shoot(QWidget& dialog, QWidget* owner, const QString& outDir) {
    sw::ApplyHintFont(&dialog);
    dialog.adjustSize();
    if (owner) sw::PlaceCentredOver(&dialog, owner);
    dialog.show();
    Save(dialog, outDir);
    dialog.hide();
}

}  // namespace

namespace {

void RenderDialogs(QWidget& owner, const QString& outDir) {
    QDir().mkpath(outDir);
    QWidget* o = &owner;
    const QString exeDir = QCoreApplication::applicationDirPath();

    {
        // Three recent files of a made-up list; the real list is not touched.
        QTemporaryDir dir;
        TGlobalVars vars;
        RecentFiles recent;
        for (const char* name : {"Interview take 1.wav", "Band rehearsal.mp3", "Voice memo.ogg"})
            recent.Touch(QDir(dir.path()).filePath(name));
        const QString mru = dir.filePath("MRUList.dat");
        recent.Save(mru);
        const QString name = QApplication::applicationDisplayName();
        TWelcomeStartForm form(vars, recent, name.isEmpty() ? QStringLiteral("Soundwright") : name, exeDir, mru, o);
        Shoot(form, o, outDir);
    }
    {
        TNewFileForm form(o);
        Shoot(form, o, outDir);
    }
    {
        TConvertSampleRateForm form(o);
        Shoot(form, o, outDir);
    }
    {
        TEditID3Form form(o);
        for (int i = 0; i <= 147; ++i) form.ComboBoxGenre->addItem(QString::fromStdString(sw::GenreName(i)));
        form.ComboBoxGenre->setCurrentIndex(17);
        form.EditTitle->setText("Untitled");
        form.EditArtist->setText("Unknown Artist");
        form.EditAlbum->setText("Unknown Album");
        form.EditYear->setText("2024");
        form.MemoComment->setPlainText("Recorded in the living room.");
        Shoot(form, o, outDir);
    }
    {
        TInsertSilenceForm form(o);
        Shoot(form, o, outDir);
    }
    {
        TRepeatLoopForm form(o);
        Shoot(form, o, outDir);
    }
    {
        TPasteMixForm form(o);
        Shoot(form, o, outDir);
    }
    {
        TSelectSpecifiedTimeForm form(10000, 20000, 60000, o);
        Shoot(form, o, outDir);
    }
    {
        QTemporaryDir dir;
        TGlobalVars vars;
        vars.Reset(dir.path() + "/", dir.path() + "/");
        RecentFiles recent;
        TOptionsForm form(vars, recent, dir.filePath("MRUList.dat"), o);
        Shoot(form, o, outDir);
    }
    {
        TFormProgress form;
        TProgressDisplay display(o, &form);
        display.ShowProgress(40);
        Save(form, outDir);
        display.HideProgress();
    }
    {
        sw::HelpLayer layer(sw::HelpFileFor(QCoreApplication::applicationFilePath()));
        try {
            layer.ShowTopic(o, "WelcometoAPP");
            if (sw::HelpWindow* w = layer.window()) {
                Save(*w, outDir);
                w->hide();
            }
        } catch (const sw::HelpError&) {
            // No help bundle beside this program: no picture of it.
        }
    }
}

}  // namespace

void RenderDialogShots(QWidget& owner, const QString& outDir) {
    QDir().mkpath(outDir);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    owner.grab().save(QDir(outDir).filePath("main-window.png"));
    RenderDialogs(owner, outDir);
}

void RenderDialogShots(const QString& outDir) {
    QWidget owner;
    owner.setObjectName("DialogShotsOwner");
    owner.setGeometry(60, 60, 980, 560);
    owner.show();
    RenderDialogs(owner, outDir);
}
