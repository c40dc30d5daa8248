#include "FormAbout.h"

#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "Identity.h"
#include "ImageSet.h"
#include "Profile.h"
#include "Shell.h"

namespace rc {

namespace {
// A label that reports clicks.
class TClickLabel : public QLabel {
public:
    TClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), onClick_(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        if (onClick_) onClick_();
    }

private:
    std::function<void()> onClick_;
};
}  // namespace

QString CopyrightNotice(int year, const QString& text) {
    return QStringLiteral("Copyright (C) %1 %2").arg(year).arg(text).trimmed();
}

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent) {
    Build(TProfile::ReadFrom(ProgramDir()), ProgramDir());
}

TFormAbout::TFormAbout(const TProfile& profile, const QString& programDir, QWidget* parent)
    : QDialog(parent) {
    Build(profile, programDir);
}

void TFormAbout::Build(const TProfile& profile, const QString& programDir) {
    setObjectName("FormAbout");
    setWindowTitle("About ");
    const TIdentity id = IdentityFor(profile.Name);
    home_ = id.HomePage;
    support_ = id.Support;
    updates_ = id.Updates;

    picturePanel_ = new QWidget(this);
    picturePanel_->setObjectName("PanelImage");
    picturePanel_->setGeometry(8, 8, 150, 230);
    picturePanel_->setStyleSheet("#PanelImage { background: #ffffff; border: 1px solid #b8c0cc; }");
    imageLeft_ = new TClickLabel({}, picturePanel_, [this] { ButtonUpdatesClick(); });
    imageLeft_->setObjectName("ImageLeft");
    imageLeft_->setGeometry(1, 1, 148, 228);
    imageLeft_->setAlignment(Qt::AlignCenter);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("PageControl");
    tabs_->setGeometry(166, 8, 340, 230);

    auto* about = new QWidget;
    about->setObjectName("TabSheetAbout");
    tabs_->addTab(about, "About");
    auto* title = new QLabel(about);
    title->setObjectName("LabalTitle");
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    title->setGeometry(12, 14, 316, 24);
    auto* copyright = new QLabel(CopyrightNotice(QDate::currentDate().year(), profile.Copyright), about);
    copyright->setObjectName("LabelCopyright");
    copyright->setWordWrap(true);
    copyright->setGeometry(12, 46, 316, 36);
    auto* webCaption = new QLabel("Web site:", about);
    webCaption->setGeometry(12, 100, 70, 18);
    auto* web = new TClickLabel(home_, about, [this] { LabelWebClick(); });
    web->setObjectName("LabelWeb");
    web->setStyleSheet("color: #0b5cad; text-decoration: underline;");
    web->setGeometry(84, 100, 244, 18);
    auto* supportCaption = new QLabel("Support:", about);
    supportCaption->setGeometry(12, 124, 70, 18);
    auto* supportLabel = new TClickLabel(support_, about, [this] { LabelSupportEmailClick(); });
    supportLabel->setObjectName("LabelSupportEmail");
    supportLabel->setStyleSheet("color: #0b5cad; text-decoration: underline;");
    supportLabel->setGeometry(84, 124, 244, 18);
    for (QLabel* l : {web, supportLabel}) l->setToolTip(l->text());

    auto* update = new QWidget;
    update->setObjectName("TabSheetUpdate");
    tabs_->addTab(update, "Update");
    auto* check = new QLabel("Check for update", update);
    check->setFont(bold);
    check->setGeometry(12, 14, 316, 22);
    QString text = QStringLiteral("To ensure you're using the latest version, click on the \r\nUpdates button below.");
    text.replace("\r\n", "\n");
    auto* info = new QLabel(text, update);
    info->setGeometry(12, 40, 316, 40);
    auto* product = new QLabel("Product information", update);
    product->setFont(bold);
    product->setGeometry(12, 92, 316, 22);
    auto* version = new QLabel(profile.Version, update);
    version->setObjectName("LabelVersion");
    version->setGeometry(12, 118, 316, 18);
    auto* updates = new QPushButton("&Updates...", update);
    updates->setObjectName("ButtonUpdates");
    updates->setGeometry(12, 150, 100, 26);
    connect(updates, &QPushButton::clicked, this, &TFormAbout::ButtonUpdatesClick);

    title->setText(profile.Name + " " + version->text());

    ok_ = new QPushButton("&OK", this);
    ok_->setObjectName("ButtonOK");
    ok_->setDefault(true);
    ok_->resize(90, 26);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    int width = 514;
    if (profile.SkinVariant() == 3) {
        picturePanel_->hide();
        tabs_->move(10, tabs_->y());
        width = tabs_->geometry().right() + 1 + 15;
    } else {
        const QPixmap logo(TImageSet::FolderFor(programDir, profile.Res) + "leftlogo.png");
        if (!logo.isNull())
            imageLeft_->setPixmap(logo.scaled(imageLeft_->size() - QSize(8, 8), Qt::KeepAspectRatio,
                                              Qt::SmoothTransformation));
    }
    ok_->move(tabs_->geometry().right() + 1 - ok_->width(), tabs_->geometry().bottom() + 10);
    setFixedSize(width, ok_->geometry().bottom() + 11);
}

void TFormAbout::LabelWebClick() { ShellOpen(home_); }
void TFormAbout::LabelSupportEmailClick() { ShellOpen(support_); }
void TFormAbout::ButtonUpdatesClick() { ShellOpen(updates_); }

}  // namespace rc
