#pragma once
// The programs delivered beside soundwright, the desktop's sound mixer, the
// product's web pages and the About window.
#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QPushButton;
class QUrl;

// Where a companion lives: the executable's folder followed by the relative
// path, without the ".exe" the path carries ("WebFetch/WebFetch.exe" ->
// "<exeDir>/WebFetch/WebFetch").
QString CompanionPath(const QString& exeDir, const QString& relativePath);

// Starts a companion detached with the argument "-zest"; a missing program
// does nothing. Returns whether it started.
bool StartCompanion(const QString& exeDir, const QString& relativePath);

// The sound settings programs tried in order for the mixer command.
const QStringList& MixerPrograms();
// The first of them found on PATH, "" when none is installed.
QString FindMixerProgram();
// Starts the mixer when one is installed; nothing otherwise.
bool StartMixer();

// Opens an address in the desktop's browser (hourglass while it starts).
// Tests replace the opener.
bool OpenWebPage(const QString& address);
using WebPageOpener = std::function<bool(const QUrl&)>;
// Installs an opener (an empty one restores the desktop's); returns the previous.
WebPageOpener SetWebPageOpener(WebPageOpener opener);

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    TFormAbout(const QString& displayName, const QString& version, const QString& productPage,
               QWidget* parent = nullptr);
    QLabel* LabelTitle = nullptr;
    QPushButton* ButtonOK = nullptr;
};
