#pragma once
// The start picture: "splash.png" beside the executable, shown in a
// translucent frameless window above everything that fades in, stays for a
// second and closes (earlier on a key). A missing picture, or one without an
// alpha channel, shows nothing.
#include <QImage>
#include <QList>
#include <QWidget>

// The constant alpha values of the fade, 8, 16, 24, 32, 39, 46 ... 254, 255:
// each step is ((alpha >> 5) xor 7) + 1.
QList<int> SplashFadeSteps();
// Each colour value multiplied by the pixel's alpha, divided by 255
// (integer division); the result is a premultiplied image.
QImage PremultiplySplash(const QImage& picture);

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(const QImage& premultiplied);
    // Runs the fade (waiting for the clock to move before each step), then
    // starts the one-second timer after which the window frees itself.
    void FadeIn();
    double currentAlpha() const { return windowOpacity(); }

protected:
    // A key pressed in any window of the program closes the splash.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;

private:
    QImage image_;
    QPoint dragOffset_;
};

// Shows the splash of the executable's folder; false when there is none.
// The window closes itself.
bool ShowSplash(const QString& exeDir);
