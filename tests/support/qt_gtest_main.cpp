// gtest main that runs inside a QApplication, so tests may use widgets,
// timers and Qt Multimedia (offscreen platform in CI).
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    // The offscreen screen is 800 by 600 unless told otherwise; windows are
    // tested on a desktop-sized 1920 by 1080 one.
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        const QString config =
            QDir::tempPath() + QString("/sw-test-screen-%1.json").arg(QCoreApplication::applicationPid());
        QFile f(config);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            f.write(R"({"screens":[{"name":"test","x":0,"y":0,"width":1920,"height":1080,)"
                    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
            f.close();
            qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
        }
    }
    QApplication app(argc, argv);
    // The platform read its screen when the application was made.
    // Programs the tests start choose their own screen.
    QFile::remove(QDir::tempPath() + QString("/sw-test-screen-%1.json").arg(QCoreApplication::applicationPid()));
    qputenv("QT_QPA_PLATFORM", platform);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Let the sound backend finish what the last test left pending before the
    // application goes away.
    QEventLoop drain;
    QTimer::singleShot(150, &drain, &QEventLoop::quit);
    drain.exec();
    return result;
}
