#pragma once
// The run-time settings of recaster: every key of section "System" of
// system.dat, held in memory while the program runs; the file is only their
// persistent copy. Besides them the join-mode and download flags of the
// profile and the stream addresses of the download road live here.
#include <QString>
#include <array>
#include <vector>

namespace sw {
class IniFile;
struct FolderEnvironment;
}

namespace rc {

struct TProfile;

inline const QString kSettingsFileName = QStringLiteral("system.dat");
inline const QString kSettingsSection = QStringLiteral("System");
inline const QString kMainFormSection = QStringLiteral("Form");
inline const QString kLogFormSection = QStringLiteral("FormLog");

inline constexpr int kPreferenceSlots = 8;
inline constexpr int kStreamAddressCount = 9;

struct TRunSettings {
    QString LastOpenDir;
    QString OutputFileDir;
    QString OutputURLDir;
    int OutputFormatClass = 0;
    int OutputAudioFormat = 0;
    int OutputVideoFormat = 0;
    int OutputDeviceFormat = 0;
    int OutputWAVPreset = 3;
    int OutputMP3Preset = 2;
    int OutputWMAPreset = 1;
    int OutputOGGPreset = 3;
    int OutputM4APreset = 0;
    int OutputAACPreset = 3;
    int OutputFLACPreset = 5;
    int OutputMP2Preset = 0;
    int OutputAVIPreset = 3;
    int OutputMP4Preset = 3;
    int OutputFLVPreset = 1;
    int OutputSWFPreset = 1;
    int OutputMPEGPreset = 5;
    int OutputRMPreset = 1;
    int OutputWMVPreset = 16;
    int OutputMOVPreset = 7;
    int Output3GPPreset = 2;
    int OutputiPodPreset = 5;
    int OutputiPhonePreset = 1;
    int OutputAppleTVPreset = 1;
    int OutputPSPPreset = 1;
    int OutputBlackBerryPreset = 1;
    int OutputMobilePhonePreset = 1;
    int OutputiPadPreset = 0;
    bool PlayASoundWhenFinished = false;
    bool ShutDownWhenFinished = false;
    bool PreferYouTubeQuality = true;
    // Quality preference order, first to last ("PreferYouTube1" .. "7", "18").
    std::array<int, kPreferenceSlots> PreferYouTube{1, 2, 3, 0, 4, 5, 6, 7};

    // Not stored: from the profile, and the download road's stream addresses.
    bool Merge = false;
    bool Download = true;
    std::array<QString, kStreamAddressCount> StreamAddresses{};

    // The start values: the three folders at `personal`, the format choice
    // from the profile defaults, everything else at its table default.
    static TRunSettings Defaults(const TProfile& profile, const QString& personal);

    // The preset index of a format (class and index as in the format
    // table); nullptr for an unknown format.
    int* PresetFor(int formatClass, int index);
    const int* PresetFor(int formatClass, int index) const;
    // The key of that preset ("OutputWAVPreset", ...), empty when unknown.
    static QString PresetKey(int formatClass, int index);

    // Every key of section "System", in file order.
    static QStringList Keys();
    // Reads every key with the current value as its default.
    void ReadFrom(const sw::IniFile& ini);
    // Writes every key in one update; false (with ini.errorString()) on failure.
    bool WriteTo(sw::IniFile& ini) const;
};

// The key of a preference slot (0-based): "PreferYouTube1".."7", "PreferYouTube18".
QString PreferenceKey(int slot);

// The settings folder: "AppData" + the title with every "/" replaced by a
// blank + "/", created; the "AppData" folder itself when that fails.
QString SettingsFolder(const sw::FolderEnvironment& env, const QString& title);
// The "Personal" folder (the home folder when there is none).
QString PersonalFolder(const sw::FolderEnvironment& env);

// Loads the settings file: when it exists every key is read over `settings`
// and true is returned; when it does not, all of `settings` is written to a
// new file at once and false is returned (the caller then centres the
// window). A write failure leaves `*error` with its text.
bool LoadOrCreateSettings(const QString& path, TRunSettings& settings, QString* error = nullptr);

// The one settings record of the running program, for the pages that read
// and store their values.
TRunSettings& RunSettings();

}  // namespace rc
