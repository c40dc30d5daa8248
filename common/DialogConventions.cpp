#include "DialogConventions.h"

#include <QDialog>
#include <QFontDatabase>
#include <QToolTip>
#include <QWidget>

namespace sw {

QPoint CentredTopLeft(const QRect& owner, const QSize& dialog) {
    // C++ integer division truncates toward zero.
    return QPoint(owner.left() + (owner.width() - dialog.width()) / 2,
                  owner.top() + (owner.height() - dialog.height()) / 2);
}

void PlaceCentredOver(QWidget* dialog, const QWidget* owner) {
    if (!dialog || !owner) return;
    if (!dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
    const QRect ownerFrame = owner->frameGeometry();
    dialog->move(CentredTopLeft(ownerFrame, dialog->frameGeometry().size()));
}

int ExecCentred(QDialog* dialog, const QWidget* owner) {
    if (!dialog) return QDialog::Rejected;
    PlaceCentredOver(dialog, owner);
    return dialog->exec();
}

namespace {

const QString kTahoma = QStringLiteral("Tahoma");

bool IsTahoma(const QWidget* w) {
    return w->font().family().compare(kTahoma, Qt::CaseInsensitive) == 0;
}

int Substitute(QWidget* w, const QString& family) {
    int changed = 0;
    if (IsTahoma(w)) {
        QFont f = w->font();
        f.setFamily(family);
        w->setFont(f);
        ++changed;
    }
    for (QObject* child : w->children())
        if (child->isWidgetType()) changed += Substitute(static_cast<QWidget*>(child), family);
    return changed;
}

}  // namespace

int SubstituteFontFamily(QWidget* root, const QString& hintFamily, bool hintInstalled) {
    if (!root || !hintInstalled || hintFamily.isEmpty() ||
        hintFamily.compare(kTahoma, Qt::CaseInsensitive) == 0)
        return 0;
    return Substitute(root, hintFamily);
}

int ApplyHintFont(QWidget* window) {
    const QString family = QToolTip::font().family();
    const bool installed = QFontDatabase::families().contains(family, Qt::CaseInsensitive);
    return SubstituteFontFamily(window, family, installed);
}

}  // namespace sw
