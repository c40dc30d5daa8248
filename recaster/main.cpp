// recaster: the wizard-style media converter. The profile beside the
// executable names the build; the command line is ignored.
#include <QApplication>
#include <QIcon>

#include "FormMain.h"
#include "Identity.h"
#include "Profile.h"
#include "Screenshots.h"
#include "Shell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const rc::TProfile profile = rc::TProfile::ReadFrom(rc::ProgramDir());
    QApplication::setApplicationName(profile.Name.isEmpty() ? QStringLiteral("recaster") : profile.Name);
    QApplication::setApplicationDisplayName(profile.Name);
    const QIcon icon(rc::ProgramDir() + "/icons/" + rc::IdentityFor(profile.Name).IconName + ".png");
    if (!icon.isNull()) QApplication::setWindowIcon(icon);

    const QString shots = qEnvironmentVariable("RC_SCREENSHOT_DIR");
    if (!shots.isEmpty()) return rc::RenderScreenshots(shots) ? 0 : 1;

    rc::TFormMain form;
    return app.exec();
}
