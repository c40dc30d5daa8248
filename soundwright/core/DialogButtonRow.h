#pragma once
// The button row of the small dialogs: an optional "&Help" on the left, then
// "&OK" (the default button) and "&Cancel" on the right. Cancel rejects; what
// OK does is left to the dialog.
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace sw {

inline QHBoxLayout* DialogButtonRow(QDialog* d, QPushButton** ok, QPushButton** cancel, QPushButton** help) {
    auto* row = new QHBoxLayout;
    if (help) {
        *help = new QPushButton("&Help", d);
        (*help)->setObjectName("ButtonHelp");
        (*help)->setAutoDefault(false);
        row->addWidget(*help);
    }
    row->addStretch(1);
    *ok = new QPushButton("&OK", d);
    (*ok)->setObjectName("ButtonOK");
    (*ok)->setDefault(true);
    *cancel = new QPushButton("&Cancel", d);
    (*cancel)->setObjectName("ButtonCancel");
    (*cancel)->setAutoDefault(false);
    row->addWidget(*ok);
    row->addWidget(*cancel);
    QObject::connect(*cancel, &QPushButton::clicked, d, &QDialog::reject);
    return row;
}

}  // namespace sw
