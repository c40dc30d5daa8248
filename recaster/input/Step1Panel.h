#pragma once
// The content of the wizard's Step1 page: the input grid with its actions.
#include <QStringList>
#include <QWidget>

namespace rc {

class TStep1Panel : public QWidget {
    Q_OBJECT
public:
    explicit TStep1Panel(QWidget* parent = nullptr);
    int RowCount() const;
    void Clear();
    // The add routine: probes each file, lists the ones that open, and
    // reports the others in one window at the end.
    void AddFiles(const QStringList& paths);
    // Files dropped on the main window.
    void DropFiles(const QStringList& paths);
    // The full path of each row, in order.
    QStringList FullNames() const;

signals:
    void RowsChanged();
};

}  // namespace rc
