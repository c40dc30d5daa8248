#pragma once
// A button drawn from pictures: normal, mouse over, pressed and (optionally)
// disabled. It sizes itself to its picture and draws its caption centred on
// it. Without pictures it draws a plain rounded face of a fixed size.
#include <QAbstractButton>
#include <QPixmap>
#include <vector>

namespace rc {

class TSkinButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TSkinButton(QWidget* parent = nullptr);

    // Normal, over, pressed[, disabled]; the button takes the size of the
    // first picture (or the fallback size when it is empty).
    void SetPictures(const std::vector<QPixmap>& pictures, QSize fallback = QSize(90, 28));
    // White captions on a button that draws nothing but its picture.
    void SetTransparentStyle(bool on);
    bool transparentStyle() const { return transparent_; }
    // Which picture is drawn now (0 normal, 1 over, 2 pressed, 3 disabled).
    int FaceIndex() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    std::vector<QPixmap> pictures_;
    QSize fallback_{90, 28};
    bool hover_ = false;
    bool transparent_ = false;
};

}  // namespace rc
