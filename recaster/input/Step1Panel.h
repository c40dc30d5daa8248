#pragma once
// The content of the wizard's Step1 page: the input grid with its actions,
// the add routine and the failed-add window.
#include <QAction>
#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "FormFailedAddFile.h"

class QMenu;
class QPushButton;

namespace rc {

class TMediaDecoder;
class TNextGrid;

class TStep1Panel : public QWidget {
    Q_OBJECT
public:
    explicit TStep1Panel(QWidget* parent = nullptr);
    ~TStep1Panel() override;

    // Where the add routine writes its log lines.
    void SetLog(std::function<void(const QString&)> log) { log_ = std::move(log); }
    // The address "More Information..." of the failed-add window opens.
    void SetSupportAddress(const QString& address) { support_ = address; }
    // The window the failed-add window is centred over (the panel's window
    // when not set).
    void SetOwnerWindow(QWidget* owner) { owner_ = owner; }

    int RowCount() const;
    void Clear();
    // The add routine: probes each file, lists the ones that open, and
    // reports the others in one window at the end.
    void AddFiles(const QStringList& paths);
    // Files dropped on the main window: folders and names with extensions
    // outside the accepted list are skipped.
    void DropFiles(const QStringList& paths);
    // The full path of each row, in order.
    QStringList FullNames() const;
    // The failed list of the last add.
    const QList<TFailedFile>& FailedList() const { return failed_; }

    TNextGrid* Grid() const { return grid_; }
    QMenu* PopupMenu() const { return popup_; }
    // Every picture added in this window's life, also of deleted rows.
    const QList<QImage>& Thumbnails() const { return thumbnails_; }

    // Handlers.
    void ActionAddExecute();
    void ActionDeleteExecute();
    void ActionClearExecute();
    void ActionMoveUpExecute();
    void ActionMoveDownExecute();
    void ActionPlayExecute();
    void ActionCropTrimExecute() {}
    // Enabling of the list actions from the grid's state.
    void UpdateActions();

signals:
    void RowsChanged();

private:
    QAction* MakeAction(const char* name, const QString& text, const QKeySequence& key,
                        void (TStep1Panel::*handler)());
    void Log(const QString& line) const;

    TNextGrid* grid_ = nullptr;
    QMenu* popup_ = nullptr;
    QList<QImage> thumbnails_;
    QList<TFailedFile> failed_;
    std::unique_ptr<TMediaDecoder> decoder_;
    std::function<void(const QString&)> log_;
    QString support_;
    QWidget* owner_ = nullptr;
    QAction *add_ = nullptr, *delete_ = nullptr, *clear_ = nullptr, *up_ = nullptr, *down_ = nullptr,
            *play_ = nullptr, *cropTrim_ = nullptr;
};

}  // namespace rc
