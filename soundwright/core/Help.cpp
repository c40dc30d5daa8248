#include "Help.h"

#include "HelpWindow.h"
#include "MessageService.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace sw {

QString HelpFileFor(const QString& executablePath) {
    const int slash = executablePath.lastIndexOf('/');
    const int dot = executablePath.lastIndexOf('.');
    // The dot must be inside the file name and not its first character.
    if (dot > slash + 1) return executablePath.left(dot) + QStringLiteral(".chm");
    return executablePath + QStringLiteral(".chm");
}

QString HelpTopicText(const QString& helpFile, const QString& topic) {
    return QStringLiteral("%1::/%2.htm").arg(helpFile, topic.toLower());
}

bool SplitTopicText(const QString& topicText, QString* helpFile, QString* page) {
    const int sep = topicText.lastIndexOf(QStringLiteral("::/"));
    if (sep < 0) return false;
    const QString name = topicText.mid(sep + 3);
    if (name.isEmpty()) return false;
    if (helpFile) *helpFile = topicText.left(sep);
    if (page) *page = name.toLower();
    return true;
}

HelpLayer::HelpLayer(QString helpFile) : helpFile_(std::move(helpFile)) {}

HelpLayer::~HelpLayer() {
    delete window_.data();
}

HelpWindow* HelpLayer::window() const { return window_.data(); }

void HelpLayer::Load() {
    if (loadCount_ > 0) return;
    const QFileInfo info(helpFile_);
    if (helpFile_.isEmpty() || !info.isDir()) throw HelpError(kHelpMissingText);
    QDir dir(info.absoluteFilePath());
    if (!info.isReadable() || !info.isExecutable()) throw HelpError(kHelpUnreadableText);
    QHash<QString, QString> pages;
    const QFileInfoList entries =
        dir.entryInfoList(QStringList{QStringLiteral("*.htm"), QStringLiteral("*.html")},
                          QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo& e : entries) {
        const QString key = e.fileName().toLower();
        if (!pages.contains(key)) pages.insert(key, e.absoluteFilePath());
    }
    folder_ = dir.absolutePath();
    pages_ = std::move(pages);
    ++loadCount_;
}

QStringList HelpLayer::Pages() {
    Load();
    QStringList names = pages_.keys();
    names.sort();
    return names;
}

QString HelpLayer::PagePath(const QString& pageName) {
    Load();
    return pages_.value(pageName.toLower());
}

void HelpLayer::DisplayTopic(QWidget* owner, const QString& topicText) {
    Load();
    QString page;
    if (!SplitTopicText(topicText, nullptr, &page)) page = topicText.toLower();

    // The window stays with the window that asked for help, so that it can
    // be used while a modal dialog is open and goes away with it.
    QWidget* ownerWindow = owner ? owner->window() : nullptr;
    if (!window_) {
        window_ = new HelpWindow([this](const QString& name) { return pages_.value(name.toLower()); },
                                 ownerWindow);
    } else if (window_->parentWidget() != ownerWindow) {
        window_->setParent(ownerWindow, window_->windowFlags() | Qt::Window);
    }
    window_->ShowPage(page);
    window_->Present();
}

void HelpLayer::ShowTopic(QWidget* owner, const QString& topic) {
    DisplayTopic(owner, HelpTopicText(helpFile_, topic));
}

namespace {

HelpLayer* g_installed = nullptr;

HelpLayer& DefaultLayer() {
    // Kept for the whole run and never destroyed: its window must not
    // outlive the application object in a static destructor.
    static HelpLayer* layer = new HelpLayer(HelpFileFor(QCoreApplication::applicationFilePath()));
    return *layer;
}

}  // namespace

HelpLayer& Help() { return g_installed ? *g_installed : DefaultLayer(); }

HelpLayer* SetHelpLayer(HelpLayer* layer) {
    HelpLayer* previous = g_installed;
    g_installed = layer;
    return previous;
}

void ShowHelpTopic(QWidget* owner, const QString& topic) { Help().ShowTopic(owner, topic); }

void ShowHelpTopicGuarded(QWidget* owner, const QString& topic) {
    try {
        ShowHelpTopic(owner, topic);
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()), owner);
    }
}

int HelpLoadCount() { return Help().loadCount(); }

}  // namespace sw
