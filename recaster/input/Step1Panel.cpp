// Temporary placeholder until the input list lands.
#include "Step1Panel.h"
namespace rc {
TStep1Panel::TStep1Panel(QWidget* parent) : QWidget(parent) {}
int TStep1Panel::RowCount() const { return 0; }
void TStep1Panel::Clear() {}
void TStep1Panel::AddFiles(const QStringList&) {}
void TStep1Panel::DropFiles(const QStringList&) {}
QStringList TStep1Panel::FullNames() const { return {}; }
}
