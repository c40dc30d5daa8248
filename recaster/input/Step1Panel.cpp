#include "Step1Panel.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogService.h"
#include "InputRow.h"
#include "MediaProbe.h"
#include "NextGrid.h"
#include "RunSettings.h"
#include "Shell.h"
#include "WaitCursor.h"

namespace rc {

TStep1Panel::TStep1Panel(QWidget* parent) : QWidget(parent), decoder_(std::make_unique<TMediaDecoder>()) {
    setObjectName("PanelStep1");
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(6);
    grid_ = new TNextGrid(this);
    grid_->SetThumbnails(&thumbnails_);
    lay->addWidget(grid_, 1);

    add_ = MakeAction("ActionAdd", "&Add Video...", QKeySequence("Ctrl+O"), &TStep1Panel::ActionAddExecute);
    delete_ = MakeAction("ActionDelete", "&Delete", QKeySequence(Qt::Key_Delete), &TStep1Panel::ActionDeleteExecute);
    clear_ = MakeAction("ActionClear", "&Clear", QKeySequence("Shift+Del"), &TStep1Panel::ActionClearExecute);
    up_ = MakeAction("ActionMoveUp", "&Move Up", {}, &TStep1Panel::ActionMoveUpExecute);
    down_ = MakeAction("ActionMoveDown", "M&ove Down", {}, &TStep1Panel::ActionMoveDownExecute);
    play_ = MakeAction("ActionPlay", "&Play", QKeySequence("Ctrl+P"), &TStep1Panel::ActionPlayExecute);
    cropTrim_ = MakeAction("ActionCropTrim", "C&rop && Trim", {}, &TStep1Panel::ActionCropTrimExecute);

    popup_ = new QMenu(this);
    popup_->setObjectName("PopupMenuNextGrid");
    popup_->addAction(add_);
    popup_->addAction(delete_);
    popup_->addAction(clear_);
    popup_->addSeparator();
    popup_->addAction(up_);
    popup_->addAction(down_);
    popup_->addSeparator();
    popup_->addAction(play_);
    popup_->addAction(cropTrim_);
    cropTrim_->setVisible(false);  // the entry is hidden
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { popup_->popup(grid_->viewport()->mapToGlobal(p)); });

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    auto button = [&](const char* name, QAction* action) {
        auto* b = new QPushButton(action->text(), this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::changed, b, [b, action] { b->setEnabled(action->isEnabled()); });
        buttons->addWidget(b);
    };
    button("ButtonAdd", add_);
    button("ButtonDelete", delete_);
    button("ButtonClear", clear_);
    buttons->addStretch(1);
    button("ButtonMoveUp", up_);
    button("ButtonMoveDown", down_);
    button("ButtonPlay", play_);
    lay->addLayout(buttons);

    connect(grid_, &QListWidget::itemDoubleClicked, this, [this] { ActionPlayExecute(); });
    connect(grid_, &QListWidget::itemSelectionChanged, this, &TStep1Panel::UpdateActions);
    connect(grid_, &TNextGrid::RowsChanged, this, [this] {
        UpdateActions();
        emit RowsChanged();
    });
    UpdateActions();
}

TStep1Panel::~TStep1Panel() = default;

QAction* TStep1Panel::MakeAction(const char* name, const QString& text, const QKeySequence& key,
                                 void (TStep1Panel::*handler)()) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    if (!key.isEmpty()) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    addAction(a);
    connect(a, &QAction::triggered, this, handler);
    return a;
}

void TStep1Panel::Log(const QString& line) const {
    if (log_) log_(line);
}

int TStep1Panel::RowCount() const { return grid_->RowCount(); }

void TStep1Panel::Clear() { grid_->ClearRows(); }

QStringList TStep1Panel::FullNames() const {
    QStringList out;
    for (int r = 0; r < grid_->RowCount(); ++r) out << grid_->Cell(ColFileFullName, r).toString();
    return out;
}

void TStep1Panel::AddFiles(const QStringList& paths) {
    if (paths.isEmpty()) return;
    failed_.clear();
    QCoreApplication::processEvents();
    const QFontMetrics metrics(window()->font());
    grid_->BeginUpdate();
    for (const QString& path : paths) {
        TInputRow row;
        if (!ProbeInputFile(*decoder_, path, metrics, row)) {
            Log("File load error: " + decoder_->LastErrorText());
            failed_ << TFailedFile{path, decoder_->LastErrorReason()};
            continue;
        }
        const int r = grid_->AddRow();
        thumbnails_ << row.cells[ColMainImage].value<QImage>();
        row.cells[ColMainImage] = int(thumbnails_.size() - 1);
        for (int c = 0; c < InputColumnCount; ++c) grid_->SetCell(c, r, row.cells[c]);
    }
    grid_->EndUpdate();
    if (!failed_.isEmpty()) {
        QWidget* owner = owner_ ? owner_ : window();
        TFormFailedAddFile form(failed_, support_, owner);
        sw::ExecDialog(form, owner);
    }
}

void TStep1Panel::DropFiles(const QStringList& paths) {
    sw::WaitCursor wait;
    AddFiles(FilterDroppedFiles(paths));
}

void TStep1Panel::ActionAddExecute() {
    sw::FileDialogRequest r;
    r.kind = sw::FileDialogRequest::Open;
    r.caption = QStringLiteral("Open");
    r.directory = RunSettings().LastOpenDir;
    r.filter = OpenDialogQtFilter();
    r.multiSelect = true;
    const QString answer = sw::Dialogs().GetFile(r, owner_ ? owner_ : window());
    const QStringList files = answer.split('\n', Qt::SkipEmptyParts);
    if (files.isEmpty()) return;
    {
        sw::WaitCursor wait;
        AddFiles(files);
    }
    RunSettings().LastOpenDir = IncludeTrailingBackslash(QFileInfo(files.first()).absolutePath());
}

void TStep1Panel::ActionDeleteExecute() {
    const int r = grid_->SelectedRow();
    if (r < 0) return;
    grid_->DeleteRow(r);
    if (grid_->RowCount() > 0) grid_->SelectRow(std::min(r, grid_->RowCount() - 1));
    UpdateActions();
}

void TStep1Panel::ActionClearExecute() { grid_->ClearRows(); }

void TStep1Panel::ActionMoveUpExecute() {
    const int r = grid_->SelectedRow();
    if (r <= 0) return;
    grid_->MoveRow(r, r - 1);
    grid_->SelectRow(r - 1);
}

void TStep1Panel::ActionMoveDownExecute() {
    const int r = grid_->SelectedRow();
    if (r < 0 || r >= grid_->RowCount() - 1) return;
    grid_->MoveRow(r, r + 1);
    grid_->SelectRow(r + 1);
}

void TStep1Panel::ActionPlayExecute() {
    const int r = grid_->SelectedRow();
    if (r < 0) return;
    ShellOpen(grid_->Cell(ColFileFullName, r).toString());
}

void TStep1Panel::UpdateActions() {
    const int sel = grid_->SelectedRow();
    const int rows = grid_->RowCount();
    delete_->setEnabled(sel >= 0);
    play_->setEnabled(sel >= 0);
    clear_->setEnabled(rows > 0);
    up_->setEnabled(sel > 0);
    down_->setEnabled(sel >= 0 && sel < rows - 1);
}

}  // namespace rc
