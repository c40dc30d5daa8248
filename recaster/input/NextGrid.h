#pragma once
// The input grid: one slide per row, 90 pixels high, read-only, whole-row
// selection, rows dragged to a new place. Every row keeps all columns of the
// input table (visible and hidden ones) as cells; the thumbnail column holds
// the index of the row's picture in the owner's thumbnail list.
#include <QImage>
#include <QList>
#include <QListWidget>
#include <QVariant>

namespace rc {

inline constexpr int kSlideHeight = 90;

class TNextGrid : public QListWidget {
    Q_OBJECT
public:
    explicit TNextGrid(QWidget* parent = nullptr);

    // The pictures the thumbnail cells refer to (owned by the caller).
    void SetThumbnails(const QList<QImage>* thumbnails) { thumbnails_ = thumbnails; }
    QImage Thumbnail(int row) const;

    int RowCount() const { return count(); }
    // Selected row, negative when none.
    int SelectedRow() const;
    void SelectRow(int row);
    // Appends an empty row; returns its index.
    int AddRow();
    void DeleteRow(int row);
    void ClearRows();
    // Moves a row from one index to another; out-of-range indexes do nothing.
    void MoveRow(int from, int to);
    QVariant Cell(int column, int row) const;
    void SetCell(int column, int row, const QVariant& value);
    void BeginUpdate();
    void EndUpdate();

signals:
    void RowsChanged();

protected:
    void dropEvent(QDropEvent* event) override;

private:
    const QList<QImage>* thumbnails_ = nullptr;
    int updateDepth_ = 0;
};

}  // namespace rc
