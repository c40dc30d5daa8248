#pragma once
// The help layer. The help file is the executable's path with ".chm"; a topic
// is addressed as "<help file>::/<topic in lower case>.htm". Our bundle is the
// folder of that name beside the executable, holding one HTML page per topic;
// it is loaded once per run and shown in a help window.
#include <QString>
#include <stdexcept>

class QWidget;

namespace sw {

class HelpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The help file path for an executable path ("/x/soundwright" -> "/x/soundwright.chm").
QString HelpFileFor(const QString& executablePath);
// "%s::/%s.htm" with the help file and the lower-cased topic.
QString HelpTopicText(const QString& helpFile, const QString& topic);

// Opens a topic in the help window; throws HelpError when the bundle is
// missing ("HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!").
void ShowHelpTopic(QWidget* owner, const QString& topic);
// ShowHelpTopic for Help buttons: a failure is shown as an error message.
void ShowHelpTopicGuarded(QWidget* owner, const QString& topic);

}  // namespace sw
