#include "Splash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>

QList<int> SplashFadeSteps() {
    QList<int> steps;
    int alpha = 0;
    while (alpha < 255) {
        alpha = qMin(255, alpha + (((alpha >> 5) ^ 7) + 1));
        steps << alpha;
    }
    return steps;
}

QImage PremultiplySplash(const QImage& picture) {
    QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* o = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            o[x] = qRgba(qRed(in[x]) * a / 255, qGreen(in[x]) * a / 255, qBlue(in[x]) * a / 255, a);
        }
    }
    return out;
}

TSplashForm::TSplashForm(const QImage& premultiplied)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen), image_(premultiplied) {
    setObjectName("SplashForm");
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(image_.size());
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect r = s->geometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
    setWindowOpacity(0.0);
    qApp->installEventFilter(this);
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != this) {
        qApp->removeEventFilter(this);
        close();
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

void TSplashForm::FadeIn() {
    show();
    QElapsedTimer clock;
    clock.start();
    for (int alpha : SplashFadeSteps()) {
        // Wait for the tick to move on, keeping the window painted.
        const qint64 tick = clock.elapsed();
        while (clock.elapsed() == tick) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            QThread::usleep(200);
        }
        setWindowOpacity(alpha / 255.0);
    }
    QTimer::singleShot(1000, this, &QWidget::close);
}

void TSplashForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, image_);
}

void TSplashForm::keyPressEvent(QKeyEvent*) { close(); }

// A press anywhere counts as a press on the caption: the picture can be dragged.
void TSplashForm::mousePressEvent(QMouseEvent* e) {
    dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TSplashForm::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) move(e->globalPosition().toPoint() - dragOffset_);
}

bool ShowSplash(const QString& exeDir) {
    const QString path = exeDir + "/splash.png";
    if (!QFileInfo(path).isFile()) return false;
    QImage picture(path);
    if (picture.isNull() || !picture.hasAlphaChannel() || picture.depth() != 32) return false;
    auto* splash = new TSplashForm(PremultiplySplash(picture));
    splash->FadeIn();
    return true;
}
