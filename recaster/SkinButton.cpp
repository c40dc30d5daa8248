#include "SkinButton.h"

#include <QPainter>

namespace rc {

TSkinButton::TSkinButton(QWidget* parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    resize(fallback_);
}

void TSkinButton::SetPictures(const std::vector<QPixmap>& pictures, QSize fallback) {
    pictures_ = pictures;
    fallback_ = fallback;
    resize(sizeHint());
    update();
}

void TSkinButton::SetTransparentStyle(bool on) {
    transparent_ = on;
    setAttribute(Qt::WA_TranslucentBackground, on);
    update();
}

QSize TSkinButton::sizeHint() const {
    if (!pictures_.empty() && !pictures_[0].isNull()) return pictures_[0].size();
    return fallback_;
}

int TSkinButton::FaceIndex() const {
    if (!isEnabled()) return 3;
    if (isDown()) return 2;
    if (hover_) return 1;
    return 0;
}

void TSkinButton::enterEvent(QEnterEvent* e) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(e);
}

void TSkinButton::leaveEvent(QEvent* e) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void TSkinButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int face = FaceIndex();
    QPixmap pic;
    if (face < int(pictures_.size())) pic = pictures_[face];
    if (pic.isNull() && face == 3 && !pictures_.empty()) pic = pictures_[0];  // no disabled face
    if (!pic.isNull()) {
        p.drawPixmap(0, 0, pic);
    } else if (!transparent_) {
        static const QColor faces[4] = {QColor(0xe4, 0xe8, 0xee), QColor(0xf0, 0xc0, 0x80),
                                        QColor(0xb0, 0xb8, 0xc4), QColor(0xd6, 0xd6, 0xd6)};
        p.setPen(QColor(0x70, 0x78, 0x84));
        p.setBrush(faces[face]);
        p.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 5, 5);
    }
    if (!text().isEmpty()) {
        QColor ink = transparent_ ? Qt::white : QColor(0x10, 0x20, 0x30);
        if (!isEnabled()) ink = transparent_ ? QColor(0xc8, 0xc8, 0xc8) : QColor(0x80, 0x80, 0x80);
        p.setPen(ink);
        p.setFont(font());
        const QRect r = rect().translated(face == 2 ? QPoint(1, 1) : QPoint());
        p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }
}

}  // namespace rc
