#pragma once
// Pictures of the format dialogs for the documentation and for checking the
// layout by eye.
#include <QString>

// Creates each format dialog and sub-dialog with the default settings, shows
// it and saves a picture as "<outDir>/format_<objectName>.png".
void RenderFormatDialogShots(const QString& outDir);
