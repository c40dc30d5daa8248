// Profile, identity table, run-time settings and the layout tables.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Identity.h"
#include "IniFile.h"
#include "Layout.h"
#include "Profile.h"
#include "RunSettings.h"
#include "RcFixture.h"

using namespace rc;

TEST(Profile, MissingFileGivesEveryDefault) {
    QTemporaryDir dir;
    const TProfile p = TProfile::ReadFrom(dir.path());
    EXPECT_TRUE(p.Name.isEmpty());
    EXPECT_TRUE(p.Download);
    EXPECT_EQ(p.Skin, "0");
    EXPECT_FALSE(p.Merge);
    EXPECT_EQ(p.OfferedClassCount(), 0);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < FormatCount(c); ++i) EXPECT_FALSE(p.Offered(c, i));
}

TEST(Profile, ReadsKeysCaseInsensitively) {
    auto ini = sw::IniFile::FromBytes(
        "[system]\nname=Clip\nVersion=2.5\nDownload=0\nRes=2\nmp3=1\nIPAD=1\n3GP=1\n"
        "DefaultClass=7\nDefaultAudio=4\nSkin= 3 \nMerge=1\nCopyright=Us\n");
    const TProfile p = TProfile::Read(*ini);
    EXPECT_EQ(p.Name, "Clip");
    EXPECT_EQ(p.Version, "2.5");
    EXPECT_FALSE(p.Download);
    EXPECT_EQ(p.Res, "2");
    EXPECT_TRUE(p.Offered(ClassAudio, 1));
    EXPECT_TRUE(p.Offered(ClassDevice, 6));
    EXPECT_TRUE(p.Offered(ClassVideo, 8));
    EXPECT_FALSE(p.Offered(ClassVideo, 0));
    EXPECT_EQ(p.OfferedClassCount(), 3);
    EXPECT_EQ(p.InitialClass(), ClassVideo);  // 7 is no class
    EXPECT_EQ(p.DefaultAudio, 4);
    EXPECT_EQ(p.SkinVariant(), 3);
    EXPECT_TRUE(p.Merge);
    EXPECT_EQ(p.Copyright, "Us");
}

TEST(Profile, SkinVariantOutsideRangeIsZero) {
    for (const char* skin : {"4", "-1", "x", "", "1.5"}) {
        TProfile p;
        p.Skin = skin;
        EXPECT_EQ(p.SkinVariant(), 0) << skin;
    }
}

TEST(Profile, FormatNamesFollowTheTable) {
    EXPECT_EQ(FormatButtonName(ClassVideo, 8), "ButtonFormat3GP");
    EXPECT_EQ(FormatButtonName(ClassDevice, 5), "ButtonFormatMobilePhone");
    EXPECT_EQ(FormatButtonName(ClassAudio, 5), "ButtonFormatM4A");
    EXPECT_EQ(FormatProfileKey(ClassDevice, 2), "APPLETV");
    EXPECT_TRUE(FormatButtonName(ClassAudio, 8).isEmpty());
    EXPECT_TRUE(FormatButtonName(3, 0).isEmpty());
}

TEST(Identity, RowsFamiliesAndDefault) {
    const TIdentity web = IdentityFor("WebFetch");
    EXPECT_TRUE(web.Companion);
    EXPECT_TRUE(IsCompanionBuild("ClipSoundPull"));
    EXPECT_TRUE(IsCompanionBuild("clipsoundpull"));
    EXPECT_FALSE(IsCompanionBuild("Recaster"));
    EXPECT_TRUE(web.Support.startsWith(kProjectSite));

    // A family title: lower-cased, family word and blanks removed.
    const TIdentity fam = IdentityFor("Recaster Video Suite");
    EXPECT_EQ(fam.HelpContent, kProjectSite + "recaster/videosuite/help/Help_Content.html");
    EXPECT_EQ(fam.Updates, kProjectSite + "recaster/videosuite/help/CheckForUpdates.html");
    EXPECT_FALSE(fam.Companion);

    const TIdentity other = IdentityFor("Something Else");
    EXPECT_EQ(other.HomePage, DefaultIdentity().HomePage);
    EXPECT_FALSE(other.Companion);
}

TEST(RunSettings, KeysAreTheWholeTableInOrder) {
    const QStringList keys = TRunSettings::Keys();
    EXPECT_EQ(keys.size(), 7 + 24 + 3 + 8);
    EXPECT_EQ(keys.first(), "LastOpenDir");
    EXPECT_EQ(keys.last(), "PreferYouTube18");
    EXPECT_FALSE(keys.contains("PreferYouTube8"));
    EXPECT_EQ(keys.indexOf("OutputWAVPreset"), 7);
    EXPECT_EQ(keys.indexOf("OutputiPadPreset"), 30);
}

TEST(RunSettings, DefaultsComeFromProfileAndTable) {
    TProfile p;
    p.DefaultClass = 2;
    p.DefaultAudio = 3;
    p.DefaultVideo = 4;
    p.DefaultDevice = 5;
    p.Merge = true;
    p.Download = false;
    const TRunSettings s = TRunSettings::Defaults(p, "/docs/");
    EXPECT_EQ(s.LastOpenDir, "/docs/");
    EXPECT_EQ(s.OutputURLDir, "/docs/");
    EXPECT_EQ(s.OutputFormatClass, 2);
    EXPECT_EQ(s.OutputAudioFormat, 3);
    EXPECT_EQ(s.OutputVideoFormat, 4);
    EXPECT_EQ(s.OutputDeviceFormat, 5);
    EXPECT_TRUE(s.Merge);
    EXPECT_FALSE(s.Download);
    EXPECT_EQ(s.OutputWMVPreset, 16);
    EXPECT_EQ(*s.PresetFor(ClassAudio, 6), 5);  // FLAC
    EXPECT_EQ(TRunSettings::PresetKey(ClassAudio, 4), "OutputAACPreset");
    EXPECT_EQ(s.PresetFor(ClassAudio, 9), nullptr);
    EXPECT_EQ(s.PreferYouTube, (std::array<int, 8>{1, 2, 3, 0, 4, 5, 6, 7}));
}

TEST(RunSettings, RoundTripAndBadPreferenceValues) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/system.dat";
    TRunSettings s;
    s.OutputFileDir = "/out/";
    s.OutputMOVPreset = 2;
    s.ShutDownWhenFinished = true;
    s.PreferYouTube[7] = 3;
    EXPECT_FALSE(LoadOrCreateSettings(path, s));  // new file
    sw::IniFile ini(path);
    EXPECT_EQ(ini.ReadString("System", "PreferYouTube18", ""), "3");
    EXPECT_EQ(ini.ReadString("System", "ShutDownWhenFinished", ""), "1");
    ASSERT_TRUE(ini.WriteString("System", "PreferYouTube2", "9"));  // no quality 9
    ASSERT_TRUE(ini.WriteString("System", "OutputMOVPreset", "5"));

    TRunSettings back;
    EXPECT_TRUE(LoadOrCreateSettings(path, back));
    EXPECT_EQ(back.OutputFileDir, "/out/");
    EXPECT_EQ(back.OutputMOVPreset, 5);
    EXPECT_TRUE(back.ShutDownWhenFinished);
    EXPECT_EQ(back.PreferYouTube[7], 3);
    EXPECT_EQ(back.PreferYouTube[1], 2);  // out of range: default kept
}

TEST(RunSettings, SettingsFolderReplacesSlashes) {
    QTemporaryDir dir;
    sw::FolderEnvironment env;
    env.home = dir.path();
    env.xdgConfigHome = dir.path() + "/cfg";
    EXPECT_EQ(SettingsFolder(env, "Audio/Video Kit"), dir.path() + "/cfg/Audio Video Kit/");
    EXPECT_TRUE(QDir(dir.path() + "/cfg/Audio Video Kit").exists());
}

struct GridCase {
    TGridLayout grid;
    int sheetWidth;
    int k;
    QPoint expected;
};

TEST(Layout, GridCells) {
    const GridCase cases[] = {
        {kFormatButtonGrid, 500, 0, {10, 5}},
        {kFormatButtonGrid, 500, 6, {10 + 6 * 64, 5}},
        {kFormatButtonGrid, 500, 7, {10, 5 + 60}},     // (500-12)/62 = 7 columns
        {kFormatButtonGrid, 40, 2, {10, 5 + 2 * 60}},  // at least one column
        {kClassButtonGrid, 556, 2, {18 + 2 * 171, 135}},
        {kClassButtonGrid, 300, 1, {18, 135 + 32}},
    };
    for (const GridCase& c : cases)
        EXPECT_EQ(GridCell(c.grid, c.sheetWidth, c.k), c.expected) << c.sheetWidth << " " << c.k;
}

TEST(Layout, HiddenButtonsTakeNoCell) {
    const auto cells = LayOutButtons(kFormatButtonGrid, 500, {false, true, false, true});
    EXPECT_EQ(cells[0], kNoCell);
    EXPECT_EQ(cells[1], QPoint(10, 5));
    EXPECT_EQ(cells[3], QPoint(74, 5));
    EXPECT_EQ(FormatPagesTop(1), 120);
    EXPECT_EQ(FormatPagesTop(0), 120);
    EXPECT_EQ(FormatPagesTop(2), 172);
}

TEST(Layout, VariantTable) {
    EXPECT_EQ(LayoutVariant(0).Close, QPoint(728, 4));
    EXPECT_EQ(LayoutVariant(1).PageControl, QPoint(240, 110));
    EXPECT_EQ(LayoutVariant(2).HelpTag, 5);
    EXPECT_FALSE(LayoutVariant(3).ChromeVisible);
    EXPECT_FALSE(LayoutVariant(3).TitleBold);
    EXPECT_EQ(LayoutVariant(3).VersionTop, 165);
    EXPECT_EQ(LayoutVariant(9).Close, LayoutVariant(0).Close);
}
