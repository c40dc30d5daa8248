#include "FormDetails.h"

#include <QDialog>

namespace formdetail {

QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton** ok, QPushButton** cancel) {
    *ok = NewButton(dialog, "ButtonOK", "OK");
    (*ok)->setDefault(true);
    *cancel = NewButton(dialog, "ButtonCancel", "Cancel");
    QObject::connect(*ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(*cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(*ok);
    row->addWidget(*cancel);
    return row;
}

}  // namespace formdetail
