#pragma once
// Small building blocks the format dialogs share.
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

class QDialog;

namespace formdetail {

inline QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text = {}) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

inline QPushButton* NewButton(QWidget* parent, const QString& name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

inline QComboBox* NewCombo(QWidget* parent, const QString& name, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

inline QFrame* NewLine(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::HLine);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// Selects item `index`, or no item when the index is outside the list.
inline void SetIndex(QComboBox* combo, int index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

// Stores the selected item's index; with no item selected the field keeps
// its value.
template <class Field>
void StoreIndex(const QComboBox* combo, Field& field) {
    if (combo->currentIndex() >= 0) field = static_cast<Field>(combo->currentIndex());
}

// A right-aligned OK / Cancel row wired to accept / reject.
QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton** ok, QPushButton** cancel);

}  // namespace formdetail
