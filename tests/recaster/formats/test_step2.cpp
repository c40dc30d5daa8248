// Step2's preset lists and button rules.
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include "Profile.h"
#include "RunSettings.h"
#include "formats/Presets.h"
#include "formats/Step2Panel.h"

using namespace rc;

namespace {
TRunSettings Settings() {
    TProfile p;
    p.Video.fill(true);
    p.Device.fill(true);
    p.Audio.fill(true);
    return TRunSettings::Defaults(p, "/tmp/");
}
}  // namespace

TEST(Step2Presets, ListsAreFilledWithTheCatalogueAndShowTheStoredIndex) {
    TStep2Panel panel;
    TRunSettings s = Settings();
    s.OutputMP3Preset = 3;
    s.OutputAVIPreset = 99;  // outside the list: nothing selected
    panel.ShowChoice(s);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < FormatCount(c); ++i) {
            QComboBox* list = panel.findChild<QComboBox*>(PresetListName(c, i));
            ASSERT_NE(list, nullptr) << PresetListName(c, i).toStdString();
            EXPECT_EQ(list->count(), int(PresetRows(c, i).size()));
            EXPECT_EQ(list->maxVisibleItems(), 10);
        }
    EXPECT_EQ(panel.PresetList(ClassAudio, 1)->currentIndex(), 3);
    EXPECT_EQ(panel.PresetList(ClassVideo, 0)->currentIndex(), -1);
    TRunSettings after = s;
    panel.TakeOver(after);
    EXPECT_EQ(after.OutputAVIPreset, -1);
    EXPECT_EQ(after.OutputMP3Preset, 3);
}

TEST(Step2Presets, FormatButtonBringsItsListToTheFrontAndIsDisabled) {
    TStep2Panel panel;
    panel.show();
    panel.ShowChoice(Settings());
    panel.ClassButtonClick(ClassAudio);
    panel.FormatButtonClick(ClassAudio, 6);
    for (int i = 0; i < FormatCount(ClassAudio); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(panel.PresetList(ClassAudio, i)->isVisible(), i == 6);
        EXPECT_EQ(panel.FormatButton(ClassAudio, i)->isEnabled(), i != 6);
    }
    for (int c = 0; c < 3; ++c) EXPECT_EQ(panel.ClassButton(c)->isEnabled(), c != ClassAudio);
    EXPECT_EQ(panel.CurrentFormat(ClassAudio), 6);
}

TEST(Step2Presets, ChangedListIsStoredOnlyWhenTakenOver) {
    TStep2Panel panel;
    TRunSettings s = Settings();
    const int before = s.OutputFLACPreset;
    panel.ShowChoice(s);
    panel.PresetList(ClassAudio, 6)->setCurrentIndex(before == 2 ? 3 : 2);
    // Back: nothing taken over, the stored index stays; the next entry shows it again.
    panel.ShowChoice(s);
    EXPECT_EQ(panel.PresetList(ClassAudio, 6)->currentIndex(), before);
    panel.PresetList(ClassAudio, 6)->setCurrentIndex(8);
    panel.TakeOver(s);
    EXPECT_EQ(s.OutputFLACPreset, 8);
}
