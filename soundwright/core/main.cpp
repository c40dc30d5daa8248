// soundwright: the program entry. Reads the profile, shows the splash, creates
// the main window and runs the message loop.
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "DialogShots.h"
#include "FormatDialogShots.h"
#include "MainForm.h"
#include "Splash.h"
#include "Document.h"
#include "WaveformView.h"
#include "editor/TAudioEditor2.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString exeDir = QCoreApplication::applicationDirPath();
    const ProductIdentity identity = ReadProfile(exeDir + "/lame.dll");
    QApplication::setApplicationName(identity.displayName);
    QApplication::setApplicationDisplayName(identity.displayName);
    QApplication::setWindowIcon(QIcon(exeDir + "/soundwright.png"));

    // Review pictures: SW_SCREENSHOT=<file.png> renders the main window after
    // the start steps and quits; SW_SHOTS_DIR=<folder> renders the main window
    // and the dialogs into that folder. The splash and the welcome window are
    // left out of the start in both.
    const QString shot = qEnvironmentVariable("SW_SCREENSHOT");
    const QString shotsDir = qEnvironmentVariable("SW_SHOTS_DIR");
    const bool review = !shot.isEmpty() || !shotsDir.isEmpty();
    if (!review) ShowSplash(exeDir);

    TMainFormOptions options;
    options.exeDir = exeDir;
    options.arguments = QCoreApplication::arguments().mid(1);
    options.env = sw::FolderEnvironment::System();
    options.identity = identity;
    options.postAfterShow = !review;
    TMainForm window(options);
    window.show();
    if (review) {
        if (!options.arguments.isEmpty()) window.AfterShow();
        QTimer::singleShot(300, &window, [&] {
            if (!shot.isEmpty()) window.grab().save(shot);
            if (!shotsDir.isEmpty()) {
                RenderDialogShots(window, shotsDir);
                RenderFormatDialogShots(shotsDir);
                // The editor with a selection, as waveform and spectrum, dark and light.
                if (window.Document().IsOpen()) {
                    auto& p = window.Editor().Position();
                    p.SetHasSelection(true);
                    p.SetSelStart(p.Length() / 4);
                    p.SetSelEnd(p.Length() / 2);
                    // A bookmark and a region, as the bookmark list would add them.
                    auto& m = window.Editor().Markers();
                    m.AddMarker(p.Length() / 8, 0, "Intro", "Bookmark");
                    m.AddMarker(p.Length() * 5 / 8, p.Length() / 8, "Chorus", "Region");
                    const QDir out(shotsDir);
                    const auto grab = [&](const QString& name) {
                        window.UpdateCommandStates();
                        window.EditorView()->update();
                        QApplication::processEvents();
                        window.grab().save(out.filePath(name));
                    };
                    grab("main-window-selection-dark.png");
                    window.EditorView()->SetDarkColours(false);
                    grab("main-window-selection-light.png");
                    window.SetDisplayMode(2, false);
                    grab("main-window-spectral-light.png");
                    window.EditorView()->SetDarkColours(true);
                    grab("main-window-spectral-dark.png");
                }
            }
            app.quit();
        });
    }
    return app.exec();
}
