#include "Ribbon.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString Squeeze(QString s) {
    s.remove(' ');
    s.remove('&');
    s.remove('/');
    s.remove('(');
    s.remove(')');
    return s;
}

constexpr int kButtonRows = 3;

}  // namespace

TRibbon::TRibbon(QWidget* parent) : QTabWidget(parent) {
    setObjectName("bsRibbon");
    setDocumentMode(true);
    setUsesScrollButtons(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QWidget* TRibbon::AddPage(const QString& caption) {
    auto* page = new QWidget;
    page->setObjectName("RibbonPage" + Squeeze(caption));
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    // Groups keep their natural width; a page wider than the window
    // scrolls sideways instead of squeezing the captions.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(page->objectName() + "Scroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    // The tab caption shows "&&" as a literal ampersand.
    addTab(scroll, QString(caption).replace("&", "&&"));
    return page;
}

QWidget* TRibbon::AddGroup(QWidget* page, const QString& caption, const QList<QAction*>& actions) {
    auto* group = new QFrame(page);
    group->setObjectName("RibbonGroup" + Squeeze(caption));
    group->setFrameShape(QFrame::StyledPanel);
    group->setProperty("caption", caption);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(3, 2, 3, 1);
    column->setSpacing(1);
    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    column->addLayout(grid);
    column->addStretch(1);
    // A group caption of the table may hold "&&", shown as one ampersand.
    auto* label = new QLabel(QString(caption).replace("&&", "&"), group);
    label->setObjectName(group->objectName() + "Caption");
    label->setAlignment(Qt::AlignHCenter);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    label->setFont(f);
    label->setEnabled(false);
    column->addWidget(label);
    int n = 0;
    for (QAction* a : actions) {
        if (!a) continue;
        auto* b = new QToolButton(group);
        b->setObjectName("RibbonButton" + a->objectName().mid(QStringLiteral("Action").size()));
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setAutoRaise(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(b, n % kButtonRows, n / kButtonRows);
        ++n;
    }
    static_cast<QHBoxLayout*>(page->layout())->addWidget(group);
    return group;
}

QToolButton* TRibbon::AddMenuButton(QWidget* group, const QString& objectName, const QString& caption, QMenu* menu) {
    auto* grid = group->findChild<QGridLayout*>();
    auto* b = new QToolButton(group);
    b->setObjectName(objectName);
    b->setText(caption);
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    b->setAutoRaise(true);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const int n = grid ? grid->count() : 0;
    if (grid) grid->addWidget(b, n % kButtonRows, n / kButtonRows);
    return b;
}

void TRibbon::FinishPage(QWidget* page) {
    auto* row = static_cast<QHBoxLayout*>(page->layout());
    row->addStretch(1);
    for (int i = 0; i < row->count(); ++i)
        if (QWidget* group = row->itemAt(i)->widget()) group->setMinimumWidth(group->sizeHint().width());
    page->setMinimumWidth(row->sizeHint().width());
    if (auto* scroll = qobject_cast<QScrollArea*>(page->parentWidget() ? page->parentWidget()->parentWidget() : nullptr))
        scroll->setFixedHeight(page->sizeHint().height() + scroll->horizontalScrollBar()->sizeHint().height());
}

QWidget* TRibbon::Page(int index) const {
    auto* scroll = qobject_cast<QScrollArea*>(widget(index));
    return scroll ? scroll->widget() : widget(index);
}

QStringList TRibbon::GroupCaptions(int index) const {
    QStringList captions;
    QWidget* page = Page(index);
    if (!page) return captions;
    auto* row = page->layout();
    for (int i = 0; i < row->count(); ++i) {
        if (QWidget* w = row->itemAt(i)->widget()) captions << w->property("caption").toString();
    }
    return captions;
}
