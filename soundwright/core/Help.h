#pragma once
// The help layer. The help file is the executable's path with ".chm"; a topic
// is addressed as "<help file>::/<topic in lower case>.htm". Our bundle is the
// folder of that name beside the executable, holding one HTML page per topic;
// it is loaded once per run and shown in a help window.
#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <stdexcept>

class QWidget;

namespace sw {

class HelpWindow;

class HelpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The help file path for an executable path ("/x/soundwright" -> "/x/soundwright.chm",
// "/x/tool.bin" -> "/x/tool.chm"): the extension of the file name is replaced,
// or ".chm" appended when it has none.
QString HelpFileFor(const QString& executablePath);
// "%s::/%s.htm" with the help file and the lower-cased topic.
QString HelpTopicText(const QString& helpFile, const QString& topic);
// Splits a topic text at its last "::/" into the help file and the page name
// (lower-cased); false when the text has no "::/" or no page.
bool SplitTopicText(const QString& topicText, QString* helpFile, QString* page);

// Text raised when the help bundle is missing.
inline constexpr const char* kHelpMissingText = "HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!";
// Text raised when the bundle exists but cannot be read.
inline constexpr const char* kHelpUnreadableText = "Function HTMLHELP cannot loaded!";

// One help bundle and its help window. The bundle is read on the first
// request (and again after a failed first read); the pages are looked up by
// their lower-case file names only, so a topic can never reach outside the
// bundle.
class HelpLayer {
public:
    explicit HelpLayer(QString helpFile);
    ~HelpLayer();
    HelpLayer(const HelpLayer&) = delete;
    HelpLayer& operator=(const HelpLayer&) = delete;

    const QString& helpFile() const { return helpFile_; }
    // Number of times the bundle was read successfully (at most 1).
    int loadCount() const { return loadCount_; }
    bool loaded() const { return loadCount_ > 0; }

    // Reads the bundle unless already read; throws HelpError.
    void Load();
    // Page names of the bundle (lower case, with ".htm"), sorted. Loads first.
    QStringList Pages();
    // The full path of a page of the bundle, "" when the bundle has no such
    // page. Loads first.
    QString PagePath(const QString& pageName);

    // Opens the topic text (HelpTopicText form) in the help window. A page
    // missing from the bundle shows a notice page in the window instead.
    // Throws HelpError when the bundle is missing.
    void DisplayTopic(QWidget* owner, const QString& topicText);
    // DisplayTopic(HelpTopicText(helpFile(), topic)).
    void ShowTopic(QWidget* owner, const QString& topic);

    // The help window (created on the first display; null before).
    HelpWindow* window() const;

private:
    QString helpFile_;
    QString folder_;
    QHash<QString, QString> pages_;   // lower-case file name -> path
    int loadCount_ = 0;
    QPointer<HelpWindow> window_;
};

// The layer in use: one for HelpFileFor(QCoreApplication::applicationFilePath()),
// created on first use, until another one is installed.
HelpLayer& Help();
// Installs a layer (nullptr restores the default); returns the previous one.
// The caller keeps ownership.
HelpLayer* SetHelpLayer(HelpLayer* layer);

class ScopedHelpLayer {
public:
    explicit ScopedHelpLayer(HelpLayer& layer) : previous_(SetHelpLayer(&layer)) {}
    ~ScopedHelpLayer() { SetHelpLayer(previous_); }
    ScopedHelpLayer(const ScopedHelpLayer&) = delete;
    ScopedHelpLayer& operator=(const ScopedHelpLayer&) = delete;
private:
    HelpLayer* previous_;
};

// Opens a topic in the help window; throws HelpError when the bundle is
// missing ("HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!").
void ShowHelpTopic(QWidget* owner, const QString& topic);
// ShowHelpTopic for Help buttons: a failure is shown as an error message.
void ShowHelpTopicGuarded(QWidget* owner, const QString& topic);
// Load count of the layer in use.
int HelpLoadCount();

}  // namespace sw
