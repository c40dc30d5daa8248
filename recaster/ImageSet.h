#pragma once
// The pictures of one image set, loaded from "sounds/res<Res>/" under the
// program folder: the window face and shape, the logos, the mode pictures and
// the faces of the window and wizard buttons. Missing files give empty
// pictures; the window then falls back to plain drawing.
#include <QBitmap>
#include <QPixmap>
#include <QString>
#include <array>

namespace rc {

// The colour outside the window's shape in main.bmp.
inline constexpr unsigned kShapeColour = 0xFFFF00FFu;

struct TImageSet {
    QString Folder;  // with a trailing separator
    QPixmap TopLogo, LeftLogo, DownloadYouTube, YouTubeConvert;
    QPixmap Main;   // window face (fuchsia where the window is not)
    QBitmap Shape;  // set where the window is; empty without main.bmp
    std::array<QPixmap, 3> Min, Close;   // normal, over, pressed
    std::array<QPixmap, 4> Bottom;       // normal, over, pressed, disabled

    // "<programDir>/sounds/res" + res + "/".
    static QString FolderFor(const QString& programDir, const QString& res);
    static TImageSet Load(const QString& folder);
};

// The shape of a face: every pixel that is not fuchsia.
QBitmap ShapeFromFace(const QImage& face);

}  // namespace rc
