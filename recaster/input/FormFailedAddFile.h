#pragma once
// The window that lists the files an add could not take, each with the
// reason the decoder gave.
#include <QDialog>
#include <QList>

class QTreeWidget;

namespace rc {

struct TFailedFile {
    QString Path;
    QString Reason;
    bool operator==(const TFailedFile&) const = default;
};

class TFormFailedAddFile : public QDialog {
    Q_OBJECT
public:
    // `supportAddress` is opened by "More Information...".
    TFormFailedAddFile(const QList<TFailedFile>& files, const QString& supportAddress,
                       QWidget* parent = nullptr);
    int RowCount() const;
    void ButtonMoreInformationClick();

private:
    QTreeWidget* list_ = nullptr;
    QString support_;
};

}  // namespace rc
