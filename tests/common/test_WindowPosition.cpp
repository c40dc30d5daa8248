#include "IniFile.h"
#include "WindowPosition.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <climits>
#include <limits>

using namespace sw;

namespace {

const QRect kScreen(0, 0, 1920, 1080);

TEST(ClampToScreen, PullsWindowsBackOntoTheScreen) {
    struct Case {
        const char* what;
        QRect screen;
        QRect stored;  // x, y, width, height; x2/y2 are not used
        QRect expected;
    };
    const int big = std::numeric_limits<int>::max();
    const Case cases[] = {
        {"fits", kScreen, QRect(100, 50, 800, 600), QRect(100, 50, 800, 600)},
        {"too wide at x 300", kScreen, QRect(300, 0, 5000, 500), QRect(0, 0, 1920, 500)},
        {"off the right edge", QRect(0, 0, 1280, 1024), QRect(5000, 10, 772, 547),
         QRect(508, 10, 772, 547)},
        {"off the bottom edge", kScreen, QRect(10, 900, 400, 300), QRect(10, 780, 400, 300)},
        {"too high", kScreen, QRect(0, 10, 400, 4000), QRect(0, 0, 400, 1080)},
        {"negative position", kScreen, QRect(-50, -7, 400, 300), QRect(0, 0, 400, 300)},
        {"exactly at the edge", kScreen, QRect(1520, 780, 400, 300), QRect(1520, 780, 400, 300)},
        {"screen with an offset", QRect(100, 40, 800, 600), QRect(0, 0, 300, 200),
         QRect(100, 40, 300, 200)},
        {"offset screen, off right", QRect(100, 40, 800, 600), QRect(850, 600, 300, 200),
         QRect(600, 440, 300, 200)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampToScreen(c.stored.x(), c.stored.y(), c.stored.width(), c.stored.height(),
                                c.screen),
                  c.expected)
            << c.what;
    // Values no sum of which fits an int.
    EXPECT_EQ(ClampToScreen(big - 10, big - 10, big, big, kScreen), kScreen);
    EXPECT_EQ(ClampToScreen(big - 10, -big - 1, 500, 400, kScreen), QRect(1420, 0, 500, 400));
    EXPECT_EQ(ClampToScreen(-big - 1, big, 500, 400, QRect()), QRect(0, QWIDGETSIZE_MAX - 400, 500, 400));
}

TEST(PlacementFromStored, FrameStyleResizesAndRemovesTheAllowance) {
    const QRect current(5, 5, 980, 560);
    struct Case {
        const char* what;
        StoredWindowPosition stored;
        QRect expected;
    };
    const Case cases[] = {
        {"as saved", {10, 20, 800, 623, false}, QRect(10, 20, 800, 600)},
        {"frame taller than the screen", {10, 20, 800, 5000, false}, QRect(10, 0, 800, 1057)},
        {"frame off the bottom", {10, 1000, 800, 623, false}, QRect(10, 457, 800, 600)},
        {"width 5000 at x 300", {300, 0, 5000, 623, false}, QRect(0, 0, 1920, 600)},
        {"zero size keeps the current size", {10, 20, 0, 0, false}, QRect(10, 20, 980, 560)},
        {"height within the allowance", {10, 20, 800, 23, false}, QRect(10, 20, 800, 560)},
        {"largest ints", {INT_MAX, INT_MAX, INT_MAX, INT_MAX, false}, QRect(0, 0, 1920, 1057)},
        {"smallest ints", {INT_MIN, INT_MIN, INT_MIN, INT_MIN, false}, QRect(0, 0, 980, 560)},
    };
    for (const Case& c : cases) {
        const WindowPlacement p =
            PlacementFromStored(c.stored, current, kScreen, WindowPositionStyle::ResizeWithFrame);
        EXPECT_EQ(p.geometry, c.expected) << c.what;
    }
}

TEST(PlacementFromStored, MoveOnlyStyleKeepsTheWindowSize) {
    const QRect current(5, 5, 772, 547);
    const QRect screen(0, 0, 1280, 1024);
    struct Case {
        const char* what;
        StoredWindowPosition stored;
        QRect expected;
    };
    const Case cases[] = {
        {"x 5000", {5000, 10, 772, 547, false}, QRect(508, 10, 772, 547)},
        {"stored size only clamps", {100, 100, 400, 300, false}, QRect(100, 100, 772, 547)},
        {"stored size larger than the screen", {600, 900, 3000, 2000, false},
         QRect(0, 0, 772, 547)},
        {"negative", {-100, -1, 772, 547, true}, QRect(0, 0, 772, 547)},
    };
    for (const Case& c : cases) {
        const WindowPlacement p =
            PlacementFromStored(c.stored, current, screen, WindowPositionStyle::MoveOnly);
        EXPECT_EQ(p.geometry, c.expected) << c.what;
        EXPECT_EQ(p.maximized, c.stored.maximized) << c.what;
    }
}

class WindowPositionFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("system.dat");
    }
    QByteArray Bytes() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(WindowPositionFile, WritesTheFiveKeysInEachStyle) {
    QWidget w;
    w.move(10, 20);
    w.resize(980, 560);
    IniFile ini(path);
    ASSERT_TRUE(WriteWindowPosition(ini, "FormPos", &w, WindowPositionStyle::ResizeWithFrame));
    ASSERT_TRUE(WriteWindowPosition(ini, "Form", &w, WindowPositionStyle::MoveOnly));
    EXPECT_EQ(Bytes(),
              "[FormPos]\nx=10\ny=20\nheight=583\nwidth=980\nmaximized=0\n"
              "\n[Form]\nx=10\ny=20\nheight=560\nwidth=980\nmaximized=0\n");
}

TEST_F(WindowPositionFile, MissingOrMalformedKeysKeepTheCurrentGeometry) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Form]\nx=abc\nwidth=\n");
    f.close();
    IniFile ini(path);
    for (WindowPositionStyle style :
         {WindowPositionStyle::ResizeWithFrame, WindowPositionStyle::MoveOnly}) {
        for (const char* section : {"Form", "Missing"}) {
            QWidget w;
            w.move(30, 40);
            w.resize(700, 500);
            ReadWindowPosition(ini, section, &w, style, kScreen);
            EXPECT_EQ(w.pos(), QPoint(30, 40)) << section;
            EXPECT_EQ(w.size(), QSize(700, 500)) << section;
            EXPECT_FALSE(w.isMaximized());
        }
    }
}

// Saving at close and restoring at the next start must give the same window,
// run after run, in both styles; a window too large or off the screen is
// pulled back once and then stays.
TEST_F(WindowPositionFile, RestartsKeepTheSameGeometry) {
    struct Case {
        const char* what;
        WindowPositionStyle style;
        QRect start;
        QRect settled;
    };
    const Case cases[] = {
        {"frame style", WindowPositionStyle::ResizeWithFrame, QRect(100, 80, 980, 560),
         QRect(100, 80, 980, 560)},
        {"frame style, window as tall as the screen", WindowPositionStyle::ResizeWithFrame,
         QRect(0, 0, 1000, 1080), QRect(0, 0, 1000, 1057)},
        {"frame style, off the screen", WindowPositionStyle::ResizeWithFrame,
         QRect(1800, 1000, 600, 400), QRect(1320, 657, 600, 400)},
        {"move only", WindowPositionStyle::MoveOnly, QRect(100, 80, 772, 547),
         QRect(100, 80, 772, 547)},
        {"move only, off the screen", WindowPositionStyle::MoveOnly, QRect(1800, -30, 772, 547),
         QRect(1148, 0, 772, 547)},
    };
    for (const Case& c : cases) {
        QFile::remove(path);
        QRect geometry = c.start;
        for (int run = 0; run < 4; ++run) {
            IniFile ini(path);
            QWidget previous;
            previous.setGeometry(geometry);
            previous.move(geometry.topLeft());
            ASSERT_TRUE(WriteWindowPosition(ini, "FormPos", &previous, c.style));

            QWidget next;  // a new run: the window starts at its design size
            next.move(0, 0);
            next.resize(c.start.size());
            ReadWindowPosition(ini, "FormPos", &next, c.style, kScreen);
            geometry = QRect(next.pos(), next.size());
            EXPECT_EQ(geometry, c.settled) << c.what << ", run " << run;
        }
    }
}

TEST_F(WindowPositionFile, MaximizedWindowKeepsItsNormalGeometry) {
    for (WindowPositionStyle style :
         {WindowPositionStyle::ResizeWithFrame, WindowPositionStyle::MoveOnly}) {
        QFile::remove(path);
        IniFile ini(path);
        QWidget w;
        w.move(50, 60);
        w.resize(640, 480);
        w.show();
        w.setWindowState(Qt::WindowMaximized);
        ASSERT_TRUE(WriteWindowPosition(ini, "Form", &w, style));
        EXPECT_TRUE(ini.ReadBool("Form", "maximized", false));
        EXPECT_EQ(ini.ReadInteger("Form", "width", 0), 640);

        QWidget next;
        next.move(0, 0);
        next.resize(640, 480);
        ReadWindowPosition(ini, "Form", &next, style, kScreen);
        EXPECT_TRUE(next.windowState() & Qt::WindowMaximized);
        next.setWindowState(Qt::WindowNoState);
        EXPECT_EQ(next.pos(), QPoint(50, 60));
        EXPECT_EQ(next.size(), QSize(640, 480));
    }
}

TEST(WindowPositionScreen, PrimaryScreenAreaIsTheAvailableGeometry) {
    const QRect area = PrimaryScreenArea();
    EXPECT_TRUE(area.isValid());  // the offscreen platform has one screen
}

}  // namespace
