#pragma once
// The help window: one browser over the pages of the help bundle, with
// Back, Forward and Contents. Links between pages are resolved through the
// bundle (by lower-case file name); addresses on the web open in the browser
// of the desktop.
#include <QString>
#include <QWidget>
#include <functional>

class QPushButton;
class QTextBrowser;
class QUrl;

namespace sw {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // `resolve` gives the full path of a page of the bundle ("" when absent).
    using Resolver = std::function<QString(const QString& page)>;
    explicit HelpWindow(Resolver resolve, QWidget* parent = nullptr);

    // Shows a page of the bundle by its name ("editing.htm", an anchor may
    // follow: "effects.htm#echo"); a name the bundle does not hold shows the
    // notice page. Returns true when the page was found.
    bool ShowPage(const QString& page);
    // Shows the notice for a page missing from the bundle.
    void ShowMissing(const QString& page);

    // Lower-case file name of the page shown, "" while the notice shows.
    QString currentPage() const;
    // True while the notice for a missing page shows.
    bool showingNotice() const { return notice_; }
    QTextBrowser* browser() const { return browser_; }

    // Brings the window up over its owner.
    void Present();

    // The name of the contents page.
    static QString ContentsPage() { return QStringLiteral("welcometoapp.htm"); }

private:
    void LinkClicked(const QUrl& url);
    void UpdateButtons();

    Resolver resolve_;
    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* forward_;
    QPushButton* contents_;
    bool notice_ = false;
};

}  // namespace sw
