#pragma once
// Screenshot mode of the program (RC_SCREENSHOT_DIR set): renders every page
// of the main window, the log window and the about box to PNG files and
// quits. Files named in RC_SCREENSHOT_MEDIA (separated by ':') are added to
// the input list first; RC_SCREENSHOT_PREFIX starts every file name.
#include <QString>

class QWidget;

namespace rc {

bool RenderScreenshots(const QString& outDir);
// The window as it appears on the screen: outside its mask transparent.
bool SaveWidgetPicture(QWidget* widget, const QString& path);

}  // namespace rc
