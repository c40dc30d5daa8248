#include "FormatDialogShots.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "GlobalVars.h"
#include "Mp3FormatForm.h"
#include "OggFormatForm.h"
#include "WaveFormatForm.h"
#include "WmaFormatForm.h"

namespace {

template <class Dialog>
void Shoot(TGlobalVars& vars, const QString& outDir) {
    Dialog dialog(vars);
    dialog.LoadFromSettings();
    dialog.adjustSize();
    dialog.show();
    QApplication::processEvents();
    const QString path = QDir(outDir).filePath("format_" + dialog.objectName() + ".png");
    dialog.grab().save(path);
    dialog.hide();
}

}  // namespace

void RenderFormatDialogShots(const QString& outDir) {
    QDir().mkpath(outDir);
    TGlobalVars vars;   // the defaults of a fresh installation
    Shoot<TWaveFormatForm>(vars, outDir);
    Shoot<TWaveFormatSpecifyForm>(vars, outDir);
    Shoot<TMp3FormatForm>(vars, outDir);
    Shoot<TMp3SettingsSpecifyForm>(vars, outDir);
    Shoot<TOGGFormatForm>(vars, outDir);
    Shoot<TOGGSettingsSpecifyForm>(vars, outDir);
    Shoot<TWMAFormatForm>(vars, outDir);
}
