// Temporary: replaced by the help layer.
#include "Help.h"
#include "MessageService.h"
namespace sw {
QString HelpFileFor(const QString& exe) { return exe + ".chm"; }
QString HelpTopicText(const QString& f, const QString& t) { return QString("%1::/%2.htm").arg(f, t.toLower()); }
void ShowHelpTopic(QWidget*, const QString&) { throw HelpError("HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!"); }
void ShowHelpTopicGuarded(QWidget* owner, const QString& topic) {
    try { ShowHelpTopic(owner, topic); } catch (const std::exception& e) { ShowError(QString::fromUtf8(e.what()), owner); }
}
}
