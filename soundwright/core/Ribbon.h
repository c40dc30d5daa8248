#pragma once
// The ribbon of the main window: one page per tab, each page a row of
// captioned groups of command buttons. Every button shows one command's
// action, so it follows the command's caption and enabled state.
#include <QStringList>
#include <QTabWidget>

class QAction;
class QMenu;
class QToolButton;

class TRibbon : public QTabWidget {
    Q_OBJECT
public:
    explicit TRibbon(QWidget* parent = nullptr);

    // Adds a page (objectName "RibbonPage<caption without blanks>") and gives it.
    QWidget* AddPage(const QString& caption);
    // Adds a group with its caption under the buttons; the buttons run the
    // given actions (nullptr entries are skipped). Gives the group frame.
    QWidget* AddGroup(QWidget* page, const QString& caption, const QList<QAction*>& actions);
    // A button that opens a menu (the Select, Save, Effect ... buttons),
    // placed in the group.
    QToolButton* AddMenuButton(QWidget* group, const QString& objectName, const QString& caption, QMenu* menu);
    // Closes the row of groups of a page (a stretch after the last group).
    void FinishPage(QWidget* page);

    // Captions of the groups of a page, in order.
    QStringList GroupCaptions(int page) const;
    // The page widget of a tab (inside its scroll area).
    QWidget* Page(int index) const;
};
