#pragma once
// Review pictures of the welcome window, the small document dialogs, the
// progress window and the help window, each saved as
// "<outDir>/dialog_<objectName>.png".
#include <QString>

class QWidget;

// The main window as it is ("<outDir>/main-window.png") and the dialogs as
// they open over it.
void RenderDialogShots(QWidget& owner, const QString& outDir);
// The dialogs alone, over a plain stand-in for the main window.
void RenderDialogShots(const QString& outDir);
