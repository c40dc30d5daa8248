#include "HelpWindow.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace sw {

HelpWindow::HelpWindow(Resolver resolve, QWidget* parent)
    : QWidget(parent, Qt::Window), resolve_(std::move(resolve)) {
    setObjectName("HelpWindow");
    const QString name = QGuiApplication::applicationDisplayName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("Help") : name + QStringLiteral(" Help"));
    resize(720, 560);

    back_ = new QPushButton(tr("&Back"), this);
    back_->setObjectName("ButtonBack");
    forward_ = new QPushButton(tr("&Forward"), this);
    forward_->setObjectName("ButtonForward");
    contents_ = new QPushButton(tr("&Contents"), this);
    contents_->setObjectName("ButtonContents");
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addWidget(contents_);
    bar->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(browser_, 1);

    connect(back_, &QPushButton::clicked, this, [this] {
        if (notice_) {
            // The notice is not part of the history: back returns to the
            // page that was showing before it.
            notice_ = false;
            browser_->reload();
        } else {
            browser_->backward();
        }
    });
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents_, &QPushButton::clicked, this, [this] { ShowPage(ContentsPage()); });
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::LinkClicked);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        notice_ = false;
        UpdateButtons();
    });
    connect(browser_, &QTextBrowser::historyChanged, this, &HelpWindow::UpdateButtons);
    UpdateButtons();
}

bool HelpWindow::ShowPage(const QString& page) {
    QString name = page;
    QString fragment;
    const int hash = name.indexOf('#');
    if (hash >= 0) {
        fragment = name.mid(hash + 1);
        name = name.left(hash);
    }
    const QString path = resolve_ ? resolve_(name.toLower()) : QString();
    if (path.isEmpty()) {
        ShowMissing(name);
        return false;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (!fragment.isEmpty()) url.setFragment(fragment);
    notice_ = false;
    if (browser_->source() == url) browser_->reload();
    else browser_->setSource(url);
    UpdateButtons();
    return true;
}

void HelpWindow::ShowMissing(const QString& page) {
    notice_ = true;
    browser_->setHtml(
        QStringLiteral("<h2>Help page not found</h2>"
                       "<p>The page <b>%1</b> is not part of the installed help. "
                       "The help files may be incomplete; reinstalling the program "
                       "brings them back.</p>"
                       "<p><a href=\"%2\">Go to the contents</a></p>")
            .arg(page.toHtmlEscaped(), ContentsPage()));
    UpdateButtons();
}

QString HelpWindow::currentPage() const {
    if (notice_) return {};
    return QFileInfo(browser_->source().toLocalFile()).fileName().toLower();
}

void HelpWindow::Present() {
    show();
    raise();
    activateWindow();
}

void HelpWindow::LinkClicked(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (scheme == "http" || scheme == "https" || scheme == "mailto") {
        QDesktopServices::openUrl(url);
        return;
    }
    // A link within the page.
    if (url.path().isEmpty() && url.hasFragment()) {
        browser_->scrollToAnchor(url.fragment());
        return;
    }
    // Another page of the bundle: only its file name counts.
    QString page = QFileInfo(url.path()).fileName();
    if (url.hasFragment()) page += '#' + url.fragment();
    ShowPage(page);
}

void HelpWindow::UpdateButtons() {
    back_->setEnabled(notice_ ? !browser_->source().isEmpty() : browser_->isBackwardAvailable());
    forward_->setEnabled(!notice_ && browser_->isForwardAvailable());
}

}  // namespace sw
