#include "WindowPosition.h"

#include "IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace sw {

QRect ClampToScreen(int x, int y, int width, int height, const QRect& screenArea) {
    // Without a screen, a screen as large as a window may be.
    const QRect screen =
        screenArea.isValid() ? screenArea : QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // 64-bit arithmetic: stored values come from a file and may be anything.
    const qint64 w = std::min<qint64>(width, screen.width());
    const qint64 h = std::min<qint64>(height, screen.height());
    const qint64 right = qint64(screen.x()) + screen.width();
    const qint64 bottom = qint64(screen.y()) + screen.height();
    qint64 cx = x, cy = y;
    if (cx + w > right) cx = right - w;
    if (cy + h > bottom) cy = bottom - h;
    if (cx < screen.x()) cx = screen.x();
    if (cy < screen.y()) cy = screen.y();
    return QRect(int(cx), int(cy), int(w), int(h));
}

WindowPlacement PlacementFromStored(const StoredWindowPosition& stored, const QRect& current,
                                    const QRect& screen, WindowPositionStyle style) {
    WindowPlacement p;
    p.maximized = stored.maximized;
    const int width = stored.width > 0 ? stored.width : current.width();
    if (style == WindowPositionStyle::ResizeWithFrame) {
        const int frameHeight = stored.height > kFrameHeightAllowance
                                    ? stored.height
                                    : current.height() + kFrameHeightAllowance;
        const QRect r = ClampToScreen(stored.x, stored.y, width, frameHeight, screen);
        p.geometry = QRect(r.x(), r.y(), r.width(),
                           std::max(1, r.height() - kFrameHeightAllowance));
    } else {
        const int height = stored.height > 0 ? stored.height : current.height();
        const QRect r = ClampToScreen(stored.x, stored.y, width, height, screen);
        p.geometry = QRect(r.topLeft(), current.size());
    }
    return p;
}

StoredWindowPosition StoredFromWindow(const QRect& normal, bool maximized,
                                      WindowPositionStyle style) {
    StoredWindowPosition s;
    s.x = normal.x();
    s.y = normal.y();
    s.width = normal.width();
    s.height = normal.height() +
               (style == WindowPositionStyle::ResizeWithFrame ? kFrameHeightAllowance : 0);
    s.maximized = maximized;
    return s;
}

StoredWindowPosition ReadStoredWindowPosition(const IniFile& ini, const QString& section,
                                              const StoredWindowPosition& defaults) {
    StoredWindowPosition s;
    s.maximized = ini.ReadBool(section, QStringLiteral("maximized"), defaults.maximized);
    s.x = ini.ReadInteger(section, QStringLiteral("x"), defaults.x);
    s.y = ini.ReadInteger(section, QStringLiteral("y"), defaults.y);
    s.height = ini.ReadInteger(section, QStringLiteral("height"), defaults.height);
    s.width = ini.ReadInteger(section, QStringLiteral("width"), defaults.width);
    return s;
}

bool WriteStoredWindowPosition(IniFile& ini, const QString& section,
                               const StoredWindowPosition& s) {
    ini.BeginUpdate();
    ini.WriteInteger(section, QStringLiteral("x"), s.x);
    ini.WriteInteger(section, QStringLiteral("y"), s.y);
    ini.WriteInteger(section, QStringLiteral("height"), s.height);
    ini.WriteInteger(section, QStringLiteral("width"), s.width);
    ini.WriteBool(section, QStringLiteral("maximized"), s.maximized);
    return ini.EndUpdate();
}

QRect PrimaryScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

namespace {

// The window's normal geometry as frame top-left plus window size. While the
// window is maximized or full screen, Qt keeps the restored geometry.
QRect NormalGeometry(const QWidget* w) {
    if (w->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        // normalGeometry() is the client area; move it out by the frame.
        const QRect normal = w->normalGeometry();
        const QPoint frame = w->geometry().topLeft() - w->pos();
        if (normal.isValid()) return QRect(normal.topLeft() - frame, normal.size());
    }
    return QRect(w->pos(), w->size());
}

}  // namespace

void ReadWindowPosition(const IniFile& ini, const QString& section, QWidget* window,
                        WindowPositionStyle style, const QRect& screen) {
    if (!window) return;
    const bool maximized = window->windowState() & Qt::WindowMaximized;
    const QRect current = NormalGeometry(window);
    const StoredWindowPosition stored =
        ReadStoredWindowPosition(ini, section, StoredFromWindow(current, maximized, style));
    const WindowPlacement p = PlacementFromStored(
        stored, current, screen.isValid() ? screen : PrimaryScreenArea(), style);
    if (maximized) window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
    window->move(p.geometry.topLeft());
    if (style == WindowPositionStyle::ResizeWithFrame) window->resize(p.geometry.size());
    if (p.maximized) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

bool WriteWindowPosition(IniFile& ini, const QString& section, const QWidget* window,
                         WindowPositionStyle style) {
    if (!window) return true;
    const bool maximized = window->windowState() & Qt::WindowMaximized;
    return WriteStoredWindowPosition(ini, section,
                                     StoredFromWindow(NormalGeometry(window), maximized, style));
}

}  // namespace sw
