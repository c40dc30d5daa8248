#pragma once
// The profile file "lame.dll" beside the executable: INI text, section
// "SYSTEM", read once at start. It gives the build its title, version, image
// set, layout variant and which format buttons and pages it offers.
#include <QString>
#include <array>

namespace sw { class IniFile; }

namespace rc {

enum TFormatClass { ClassVideo = 0, ClassDevice = 1, ClassAudio = 2 };

inline constexpr int kVideoFormatCount = 9;
inline constexpr int kDeviceFormatCount = 7;
inline constexpr int kAudioFormatCount = 8;

// Number of formats of a class (0 for an unknown class).
int FormatCount(int formatClass);
// The profile key of a format ("AVI", "IPOD", "WAV", ...), empty when unknown.
QString FormatProfileKey(int formatClass, int index);
// The format's own name as in its button ("AVI", "iPod", "WAV", ...).
QString FormatName(int formatClass, int index);
// "ButtonFormat" + FormatName.
QString FormatButtonName(int formatClass, int index);

inline const QString kProfileFileName = QStringLiteral("lame.dll");
inline const QString kProfileSection = QStringLiteral("SYSTEM");

struct TProfile {
    QString Name;
    QString Version;
    bool Download = true;
    QString Res;
    std::array<bool, kVideoFormatCount> Video{};
    std::array<bool, kDeviceFormatCount> Device{};
    std::array<bool, kAudioFormatCount> Audio{};
    int DefaultClass = 0;
    int DefaultVideo = 0;
    int DefaultDevice = 0;
    int DefaultAudio = 0;
    QString Skin = QStringLiteral("0");
    bool Merge = false;
    QString Copyright;

    // Every key read with its default when missing.
    static TProfile Read(const sw::IniFile& ini);
    // The profile in that program folder (all defaults when there is none).
    static TProfile ReadFrom(const QString& programDir);

    // "Skin" as a layout variant 0 to 3; anything else is variant 0.
    int SkinVariant() const;
    // "DefaultClass" when it is 0, 1 or 2; anything else is the video class.
    int InitialClass() const;
    bool Offered(int formatClass, int index) const;
    // True when at least one button of the class is offered.
    bool ClassOffered(int formatClass) const;
    int OfferedClassCount() const;
};

}  // namespace rc
