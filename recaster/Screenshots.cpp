#include "Screenshots.h"

#include <QApplication>
#include <QBitmap>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTimer>

#include "FormMain.h"
#include "input/Step1Panel.h"
#include "run/FormAbout.h"
#include "run/FormLog.h"

namespace rc {

namespace {
const char* const kPageNames[PageCount] = {"Mode",  "Step1", "Step2", "Step3",
                                           "Step4", "Step5", "Step6", "Step7"};
void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}
}  // namespace

bool SaveWidgetPicture(QWidget* widget, const QString& path) {
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        const QRegion mask = widget->mask();
        if (!mask.isEmpty()) p.setClipRegion(mask);
        widget->render(&p, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    return image.save(path);
}

bool RenderScreenshots(const QString& outDir) {
    QDir().mkpath(outDir);
    const QString prefix = outDir + "/" + qEnvironmentVariable("RC_SCREENSHOT_PREFIX");
    TFormMain form;
    Settle();
    const QStringList media = qEnvironmentVariable("RC_SCREENSHOT_MEDIA").split(':', Qt::SkipEmptyParts);
    if (!media.isEmpty()) form.Step1()->AddFiles(media);
    bool ok = true;
    for (int p = 0; p < PageCount; ++p) {
        form.GoToPage(p);
        Settle();
        ok &= SaveWidgetPicture(&form, prefix + "page_" + kPageNames[p] + ".png");
    }
    form.Log()->AppendLine("File load error: /home/user/Videos/broken.avi: Invalid data found when processing input");
    form.Log()->show();
    Settle();
    ok &= SaveWidgetPicture(form.Log(), prefix + "log.png");
    form.Log()->hide();
    TFormAbout about(form.Profile(), QApplication::applicationDirPath(), &form);
    about.show();
    Settle();
    ok &= SaveWidgetPicture(&about, prefix + "about.png");
    about.hide();
    return ok;
}

}  // namespace rc
