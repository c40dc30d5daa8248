// Time text: writing milliseconds, reading typed times, the rules of the
// three selection fields and the clock's font fitting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <limits>

#include "EditCommands.h"
#include "TimeText.h"

namespace {

TEST(TimeText, Format) {
    const struct { qint64 ms; const char* text; } cases[] = {
        {0, "0:00:00.000"},
        {7, "0:00:00.007"},
        {61001, "0:01:01.001"},
        {3723004, "1:02:03.004"},
        {3599999, "0:59:59.999"},
        {36000000LL * 10, "100:00:00.000"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatTimeText(c.ms), c.text) << c.ms;
}

TEST(TimeText, ParseAcceptedForms) {
    const struct { const char* text; qint64 ms; } cases[] = {
        {"1:02:03.4", 3723004},      // h:m:s.z, the digits are whole milliseconds
        {"12:3", 723000},            // m:s
        {"7", 7000},                 // s
        {"1.5", 1005},
        {"1.500", 1500},
        {"0:75", 75000},             // no upper bound on a field
        {"2:3.25", 123025},          // m:s.z
        {"1:0:0", 3600000},          // h:m:s
        {":5", 5000},                // an empty field counts as 0
        {"::.", 0},
        {".", 0},
        {"1:2:3.", 3723000},
        {"0:00:00.000", 0},
        {"99999999999999999999", 0}, // an unreadable field counts as 0
    };
    for (const auto& c : cases) EXPECT_EQ(ParseTimeText(c.text), c.ms) << c.text;
}

TEST(TimeText, ParseRefusedForms) {
    for (const char* text : {"", "a:1", "1.2.3", "1:2:3:4", "1.2:3", "1:2.3:4", " 1", "-1", "1,5", "1:2:3.4.5"})
        EXPECT_EQ(ParseTimeText(text), -1) << text;
    // A value that does not fit the result is not accepted either.
    EXPECT_EQ(ParseTimeText("9223372036854775:0:0"), -1);
}

TEST(TimeText, TypedTimeRules) {
    constexpr qint64 L = 60000;
    const struct { TimeField field; qint64 c, start, end, newStart, newEnd; } cases[] = {
        {TimeField::Start, 90000, 10000, 20000, 60000, 60000},   // past the document: empty at the end
        {TimeField::Start, 15000, 10000, 20000, 15000, 20000},
        {TimeField::Start, 25000, 10000, 20000, 25000, 25000},
        {TimeField::Start, 5000, 10000, 20000, 5000, 20000},
        {TimeField::Start, 20000, 10000, 20000, 20000, 20000},
        {TimeField::End, 70000, 10000, 20000, 10000, 60000},
        {TimeField::End, 5000, 10000, 20000, 10000, 10000},
        {TimeField::End, 30000, 10000, 20000, 10000, 30000},
        {TimeField::Length, 5000, 58000, 59000, 58000, 60000},
        {TimeField::Length, 1000, 10000, 20000, 10000, 11000},
        {TimeField::Length, std::numeric_limits<qint64>::max(), 10000, 20000, 10000, 60000},
    };
    for (const auto& c : cases) {
        qint64 s = c.start, e = c.end;
        ApplyTypedTime(c.field, c.c, L, s, e);
        EXPECT_EQ(s, c.newStart) << int(c.field) << " " << c.c;
        EXPECT_EQ(e, c.newEnd) << int(c.field) << " " << c.c;
    }
}

TEST(TimeText, ClockFontFitsItsBox) {
    QFont f("DejaVu Sans");
    f.setBold(true);
    const QString text = "0:00:12.345";
    const int size = FitClockFontSize(f, text, QSize(2000, 40));
    // The largest listed size whose single-line text is at most 40 high.
    int expected = 6;
    for (int s : kClockFontSizes) {
        QFont g(f);
        g.setPointSize(s);
        if (QFontMetrics(g).size(Qt::TextSingleLine, text).height() <= 40) expected = s;
    }
    EXPECT_EQ(size, expected);
    EXPECT_GT(size, 6);
    QFont chosen(f);
    chosen.setPointSize(size);
    EXPECT_LE(QFontMetrics(chosen).size(Qt::TextSingleLine, text).height(), 40);
    // Nothing fits: the smallest size.
    EXPECT_EQ(FitClockFontSize(f, text, QSize(3, 3)), 6);
}

TEST(TimeText, StrToIntRaisesTheConversionError) {
    EXPECT_EQ(StrToInt("12"), 12);
    try {
        StrToInt("");
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
}

}  // namespace
