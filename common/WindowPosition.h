#pragma once
// Saved window positions: an INI section with the keys "x", "y", "width",
// "height" and "maximized", pulled back onto the screen when read.
//
// The two programs store it in two styles:
//  - ResizeWithFrame (soundwright): the stored height is the frame height,
//    the window height plus kFrameHeightAllowance. Reading clamps the stored
//    width and frame height to the screen and gives the window that width
//    and the frame height minus the allowance, so a window keeps its size
//    from one run to the next.
//  - MoveOnly (recaster): the stored width and height are the window's own
//    and only serve to keep it on the screen; reading moves the window and
//    leaves its size alone.
//
// Clamping, with the screen's available rectangle S: width = min(width,
// S.width), height = min(height, S.height); when x + width passes S's right
// edge, x = S's right edge - width; likewise y; then x and y are pulled up
// to S's left and top edges. A stored size of zero or less is ignored in
// favour of the window's current size.
//
// A maximized window is saved with its normal (restored) geometry, so
// un-maximizing after a restart gives back the size it had.
#include <QRect>
#include <QString>

class QWidget;

namespace sw {

class IniFile;

enum class WindowPositionStyle { ResizeWithFrame, MoveOnly };

inline constexpr int kFrameHeightAllowance = 23;

// The five stored values.
struct StoredWindowPosition {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool operator==(const StoredWindowPosition&) const = default;
};

// Where the window goes and with what size.
struct WindowPlacement {
    QRect geometry;     // left/top of the window frame, size of the window
    bool maximized = false;
    bool operator==(const WindowPlacement&) const = default;
};

// The clamping rule above, on stored values (any int, no overflow). Without
// a screen (an invalid rectangle) the screen is taken as QWIDGETSIZE_MAX
// square at 0, 0.
QRect ClampToScreen(int x, int y, int width, int height, const QRect& screen);

// What a window at `current` (frame top-left, window size) becomes when the
// stored values are read.
WindowPlacement PlacementFromStored(const StoredWindowPosition& stored, const QRect& current,
                                    const QRect& screen, WindowPositionStyle style);

// What gets stored for a window at `normal` (its normal geometry).
StoredWindowPosition StoredFromWindow(const QRect& normal, bool maximized,
                                      WindowPositionStyle style);

// Reads the section with the window's current values as defaults; missing
// keys keep what the window has.
StoredWindowPosition ReadStoredWindowPosition(const IniFile& ini, const QString& section,
                                              const StoredWindowPosition& defaults);
// Writes the five keys in one update; false (with ini.errorString()) on failure.
bool WriteStoredWindowPosition(IniFile& ini, const QString& section,
                               const StoredWindowPosition& stored);

// The available geometry of the primary screen (empty without a screen).
QRect PrimaryScreenArea();

// Widget adapters. `screen` defaults to PrimaryScreenArea().
void ReadWindowPosition(const IniFile& ini, const QString& section, QWidget* window,
                        WindowPositionStyle style, const QRect& screen = QRect());
bool WriteWindowPosition(IniFile& ini, const QString& section, const QWidget* window,
                         WindowPositionStyle style);

}  // namespace sw
