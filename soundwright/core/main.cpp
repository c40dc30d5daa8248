// soundwright: the program entry. Reads the profile, shows the splash, creates
// the main window and runs the message loop.
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "MainForm.h"
#include "Splash.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString exeDir = QCoreApplication::applicationDirPath();
    const ProductIdentity identity = ReadProfile(exeDir + "/lame.dll");
    QApplication::setApplicationName(identity.displayName);
    QApplication::setApplicationDisplayName(identity.displayName);
    QApplication::setWindowIcon(QIcon(exeDir + "/soundwright.png"));

    // Review pictures: SW_SCREENSHOT=<file.png> renders the main window after
    // the start steps and quits; the splash and the welcome window are left out.
    const QString shot = qEnvironmentVariable("SW_SCREENSHOT");
    if (shot.isEmpty()) ShowSplash(exeDir);

    TMainFormOptions options;
    options.exeDir = exeDir;
    options.arguments = QCoreApplication::arguments().mid(1);
    options.env = sw::FolderEnvironment::System();
    options.identity = identity;
    options.postAfterShow = shot.isEmpty();
    TMainForm window(options);
    window.show();
    if (!shot.isEmpty()) {
        if (!options.arguments.isEmpty()) window.AfterShow();
        QTimer::singleShot(300, &window, [&] {
            window.grab().save(shot);
            app.quit();
        });
    }
    return app.exec();
}
