#include "FinishServices.h"

#include <QProcess>
#include <QSoundEffect>
#include <QUrl>

namespace rc {

namespace {
SoundPlayer& Player() {
    static SoundPlayer p;
    return p;
}
PowerOffService& PowerOff() {
    static PowerOffService s;
    return s;
}

void DefaultPlay(const QString& path) {
    static QSoundEffect* effect = nullptr;
    if (!effect) effect = new QSoundEffect;
    effect->stop();
    effect->setSource(QUrl::fromLocalFile(path));
    effect->play();
}

bool DefaultPowerOff(QString* error) {
    // logind's PowerOff over the system bus; interactive=false.
    QProcess p;
    p.start("busctl", {"call", "org.freedesktop.login1", "/org/freedesktop/login1",
                       "org.freedesktop.login1.Manager", "PowerOff", "b", "false"});
    const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok && error) {
        const QString reason = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        *error = reason.isEmpty() ? p.errorString() : reason;
    }
    return ok;
}
}  // namespace

void PlaySoundFile(const QString& path) {
    if (Player()) Player()(path);
    else DefaultPlay(path);
}

SoundPlayer SetSoundPlayer(SoundPlayer player) {
    SoundPlayer old = Player();
    Player() = std::move(player);
    return old;
}

bool PowerOffSystem(QString* error) { return PowerOff() ? PowerOff()(error) : DefaultPowerOff(error); }

PowerOffService SetPowerOffService(PowerOffService service) {
    PowerOffService old = PowerOff();
    PowerOff() = std::move(service);
    return old;
}

}  // namespace rc
