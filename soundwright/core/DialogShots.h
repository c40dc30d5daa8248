#pragma once
// Review pictures of the main window and its dialogs, rendered offscreen.
#include <QString>

class TMainForm;

// The main window as it is, the welcome window (with three recent files),
// New Sample, Convert Sample Rate, Edit Audio Tags, the progress window and
// the help window, each to "<outDir>/<name>.png".
void RenderDialogShots(TMainForm& main, const QString& outDir);
