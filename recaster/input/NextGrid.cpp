#include "NextGrid.h"

#include <QDropEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "InputRow.h"

namespace rc {

namespace {

constexpr int kCellRole = Qt::UserRole + 100;

// Draws one row as a slide: the thumbnail at 0,0 (128 by 88), the short name
// in bold at 136,0 and three text lines at 136,33, 136,49 and 136,65.
class TSlideDelegate : public QStyledItemDelegate {
public:
    explicit TSlideDelegate(TNextGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {std::max(option.rect.width(), 420), kSlideHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        p->save();
        const QRect r = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(r, selected ? QColor(0xd6, 0xe6, 0xf8) : (index.row() % 2 ? QColor(0xf7, 0xf9, 0xfb) : Qt::white));
        p->setPen(QColor(0xd0, 0xd6, 0xde));
        p->drawLine(r.bottomLeft(), r.bottomRight());
        if (selected) {
            p->setPen(QColor(0x3a, 0x70, 0xb0));
            p->drawRect(r.adjusted(0, 0, -1, -1));
        }
        const QRect imageBox(r.left(), r.top(), kThumbnailWidth, kThumbnailHeight);
        p->fillRect(imageBox.adjusted(2, 2, -2, -2), QColor(0x20, 0x24, 0x2a));
        const QImage img = grid_->Thumbnail(index.row());
        if (!img.isNull()) {
            const QSize s = img.size().scaled(imageBox.size() - QSize(4, 4), Qt::KeepAspectRatio);
            const QRect target(imageBox.center() - QPoint(s.width() / 2, s.height() / 2), s);
            p->drawImage(target, img);
        }
        auto cell = [&](int col) { return index.data(kCellRole + col).toString(); };
        QFont f = option.font;
        f.setBold(true);
        p->setFont(f);
        p->setPen(QColor(0x10, 0x20, 0x30));
        const int x = r.left() + 136;
        const QFontMetrics bm(f);
        p->drawText(QRect(x, r.top() + 4, 280, bm.height()), Qt::AlignLeft | Qt::AlignTop,
                    bm.elidedText(cell(ColFileMinName), Qt::ElideRight, 280));
        f.setBold(false);
        p->setFont(f);
        p->setPen(QColor(0x40, 0x48, 0x54));
        const QFontMetrics fm(f);
        const int width = std::max(40, r.right() - x - 4);
        const int tops[3] = {33, 49, 65};
        const int cols[3] = {ColDuration, ColBitrate, ColDimension};
        for (int i = 0; i < 3; ++i)
            p->drawText(QRect(x, r.top() + tops[i], width, fm.height()), Qt::AlignLeft | Qt::AlignTop,
                        fm.elidedText(cell(cols[i]), Qt::ElideRight, width));
        p->restore();
    }

private:
    TNextGrid* grid_;
};

}  // namespace

TNextGrid::TNextGrid(QWidget* parent) : QListWidget(parent) {
    setObjectName("NextGrid");
    setItemDelegate(new TSlideDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

QImage TNextGrid::Thumbnail(int row) const {
    if (!thumbnails_) return {};
    bool ok = false;
    const int i = Cell(ColMainImage, row).toInt(&ok);
    return ok && i >= 0 && i < thumbnails_->size() ? thumbnails_->at(i) : QImage();
}

int TNextGrid::SelectedRow() const {
    const auto items = selectedItems();
    return items.isEmpty() ? -1 : row(items.first());
}

void TNextGrid::SelectRow(int r) {
    if (r < 0 || r >= count()) {
        clearSelection();
        return;
    }
    setCurrentRow(r, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(r));
}

int TNextGrid::AddRow() {
    auto* it = new QListWidgetItem;
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
    it->setSizeHint(QSize(420, kSlideHeight));
    addItem(it);
    if (updateDepth_ == 0) emit RowsChanged();
    return count() - 1;
}

void TNextGrid::DeleteRow(int r) {
    if (r < 0 || r >= count()) return;
    delete takeItem(r);
    if (updateDepth_ == 0) emit RowsChanged();
}

void TNextGrid::ClearRows() {
    clear();
    if (updateDepth_ == 0) emit RowsChanged();
}

void TNextGrid::MoveRow(int from, int to) {
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to) return;
    QListWidgetItem* it = takeItem(from);
    insertItem(to, it);
    if (updateDepth_ == 0) emit RowsChanged();
}

QVariant TNextGrid::Cell(int column, int r) const {
    const QListWidgetItem* it = item(r);
    return it ? it->data(kCellRole + column) : QVariant();
}

void TNextGrid::SetCell(int column, int r, const QVariant& value) {
    if (QListWidgetItem* it = item(r)) it->setData(kCellRole + column, value);
}

void TNextGrid::BeginUpdate() {
    if (updateDepth_++ == 0) setUpdatesEnabled(false);
}

void TNextGrid::EndUpdate() {
    if (updateDepth_ == 0) return;
    if (--updateDepth_ == 0) {
        setUpdatesEnabled(true);
        emit RowsChanged();
    }
}

void TNextGrid::dropEvent(QDropEvent* event) {
    // Rows dragged inside the grid only move; drops from outside go to the window.
    if (event->source() != this) {
        event->ignore();
        return;
    }
    QListWidget::dropEvent(event);
    emit RowsChanged();
}

}  // namespace rc
