#include "WaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace sw {
namespace {
int g_depth = 0;
}

void BeginWait() {
    if (g_depth++ == 0) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void EndWait() {
    if (g_depth == 0) return;
    if (--g_depth == 0) QApplication::restoreOverrideCursor();
}

int WaitDepth() {
    return g_depth;
}

}  // namespace sw
