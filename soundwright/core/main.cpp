// soundwright: opens the file named on the command line (or lets the user
// pick one), shows its waveform and plays it.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "IniFile.h"
#include "MessageService.h"
#include "WaveformView.h"
#include "editor/TAudioEditor2.h"

namespace {

class EditorWindow : public QMainWindow {
public:
    EditorWindow() : view_(new WaveformView(editor_, this)) {
        setObjectName("MainForm");
        setCentralWidget(view_);
        resize(980, 560);
        auto* bar = addToolBar("Transport");
        bar->addAction("Open", this, [this] {
            const QString path = QFileDialog::getOpenFileName(this, "Open");
            if (!path.isEmpty()) Open(path);
        });
        bar->addAction("Play", this, [this] { Run([this] {
            if (editor_.PlayState() == 0) editor_.Play(2);
            else editor_.Stop();
        }); });
        bar->addAction("Stop", this, [this] { Run([this] { editor_.Stop(); }); });
        editor_.OnChangePlayPosition = [this](sw::SampleCount) { view_->update(); };
        editor_.OnEndPlay = [this] { view_->update(); };
        editor_.OnChangePosition = [this] { view_->update(); };
    }

    void Open(const QString& path) {
        const QString full = QFileInfo(path).absoluteFilePath();
        Run([&] {
            editor_.OpenFile(full.toStdString());
            statusBar()->showMessage(QString("%1 - [ %2 ]").arg(full,
                QString::fromStdString(editor_.FileInfo().Description())));
        });
        view_->update();
    }

private:
    template <class F> void Run(F&& f) {
        try {
            f();
        } catch (const std::exception& e) {
            sw::ShowError(QString::fromUtf8(e.what()), this);
        }
    }

    sw::TAudioEditor2 editor_;
    WaveformView* view_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const sw::IniFile profile(QCoreApplication::applicationDirPath() + "/lame.dll");
    const QString name = profile.ReadString("SYSTEM", "Name", "soundwright");
    const QString version = profile.ReadString("SYSTEM", "Version", "");
    QApplication::setApplicationDisplayName(name);
    EditorWindow window;
    window.setWindowTitle(version.isEmpty() ? name : name + " " + version);
    window.show();
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) window.Open(args.at(1));
    // For review pictures: SW_SCREENSHOT=out.png renders the window and quits.
    const QString shot = qEnvironmentVariable("SW_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTimer::singleShot(300, &window, [&] {
            window.grab().save(shot);
            app.quit();
        });
    }
    return app.exec();
}
