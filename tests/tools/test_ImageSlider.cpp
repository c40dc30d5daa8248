// The slider of the effect and format dialogs: its range, step and the two
// change events.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <vector>

#include "ImageSlider.h"

namespace {

// The values one signal of the slider reported.
struct Spy {
    Spy(TImageSlider& s, void (TImageSlider::*signal)(int)) {
        QObject::connect(&s, signal, &s, [this](int v) { values.push_back(v); });
    }
    std::vector<int> values;
};

TEST(ImageSlider, ValueIsClampedAndEveryChangeIsReported) {
    TImageSlider s;
    s.SetRange(1, 100);
    Spy change(s, &TImageSlider::Change);
    Spy end(s, &TImageSlider::EndChange);
    const struct { int set; int value; } cases[] = {{50, 50}, {0, 1}, {250, 100}, {100, 100}};
    for (const auto& c : cases) {
        s.SetValue(c.set);
        EXPECT_EQ(s.Value(), c.value) << c.set;
    }
    // 50, 1, 100: the repeated 100 is no change; code never ends a user action.
    EXPECT_EQ(change.values, (std::vector<int>{50, 1, 100}));
    EXPECT_TRUE(end.values.empty());
}

TEST(ImageSlider, KeysMoveByIncrementAndEndTheAction) {
    const struct { TImageSlider::Options options; int key; int increment; int expected; bool ended; } cases[] = {
        {TImageSlider::soShowPoints, Qt::Key_Right, 1, 51, true},
        {TImageSlider::soShowPoints, Qt::Key_PageUp, 1, 51, true},
        {TImageSlider::soSmooth, Qt::Key_PageUp, 1, 60, true},
        {TImageSlider::soSmooth, Qt::Key_Right, 5, 55, true},
        {TImageSlider::soShowPoints, Qt::Key_A, 1, 50, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        TImageSlider s;
        s.SetRange(0, 100);
        s.SetIncrement(c.increment);
        s.SetOptions(c.options);
        s.SetValue(50);
        Spy end(s, &TImageSlider::EndChange);
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
        QCoreApplication::sendEvent(&s, &press);
        EXPECT_EQ(s.Value(), c.expected);
        EXPECT_EQ(end.values, c.ended ? std::vector<int>{c.expected} : std::vector<int>{});
    }
}

TEST(ImageSlider, IncrementIsAtLeastOne) {
    TImageSlider s;
    s.SetIncrement(0);
    EXPECT_EQ(s.Increment(), 1);
    s.SetIncrement(3);
    s.SetOptions(TImageSlider::soShowPoints);
    EXPECT_EQ(s.Increment(), 3);
    EXPECT_EQ(s.tickInterval(), 3);
    EXPECT_TRUE(s.SliderOptions() & TImageSlider::soShowPoints);
}

}  // namespace
