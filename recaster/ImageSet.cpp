#include "ImageSet.h"

#include <QImage>

namespace rc {

QString TImageSet::FolderFor(const QString& programDir, const QString& res) {
    return programDir + QStringLiteral("/sounds/res") + res + QStringLiteral("/");
}

QBitmap ShapeFromFace(const QImage& face) {
    if (face.isNull()) return {};
    const QImage rgb = face.convertToFormat(QImage::Format_RGB32);
    return QBitmap::fromImage(rgb.createMaskFromColor(kShapeColour, Qt::MaskInColor));
}

TImageSet TImageSet::Load(const QString& folder) {
    TImageSet s;
    s.Folder = folder;
    auto load = [&](const char* name) { return QPixmap(folder + QString::fromLatin1(name)); };
    s.TopLogo = load("toplogo.png");
    s.LeftLogo = load("leftlogo.png");
    s.DownloadYouTube = load("downloadyoutube.png");
    s.YouTubeConvert = load("youtubeconvert.png");
    const QImage face(folder + QStringLiteral("main.bmp"));
    if (!face.isNull()) {
        s.Main = QPixmap::fromImage(face);
        s.Shape = ShapeFromFace(face);
    }
    for (int i = 0; i < 3; ++i) {
        s.Min[i] = QPixmap(folder + QStringLiteral("min_%1.bmp").arg(i + 1));
        s.Close[i] = QPixmap(folder + QStringLiteral("close_%1.bmp").arg(i + 1));
    }
    for (int i = 0; i < 4; ++i) s.Bottom[i] = QPixmap(folder + QStringLiteral("bottom_%1.bmp").arg(i + 1));
    return s;
}

}  // namespace rc
