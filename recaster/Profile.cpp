#include "Profile.h"

#include "IniFile.h"

namespace rc {

namespace {

const char* const kVideoKeys[kVideoFormatCount] = {"AVI", "MP4", "FLV", "SWF", "MPEG",
                                                   "RM",  "WMV", "MOV", "3GP"};
const char* const kDeviceKeys[kDeviceFormatCount] = {"IPOD", "IPHONE", "APPLETV", "PSP",
                                                     "BLACKBERRY", "MOBILEPHONE", "IPAD"};
const char* const kDeviceNames[kDeviceFormatCount] = {"iPod", "iPhone", "AppleTV", "PSP",
                                                      "BlackBerry", "MobilePhone", "iPad"};
const char* const kAudioKeys[kAudioFormatCount] = {"WAV", "MP3", "WMA", "OGG",
                                                   "AAC", "M4A", "FLAC", "MP2"};

bool ValidIndex(int formatClass, int index) {
    return index >= 0 && index < FormatCount(formatClass);
}

template <std::size_t N>
void ReadFlags(const sw::IniFile& ini, const char* const (&keys)[N], std::array<bool, N>& out) {
    for (std::size_t i = 0; i < N; ++i)
        out[i] = ini.ReadBool(kProfileSection, QString::fromLatin1(keys[i]), false);
}

}  // namespace

int FormatCount(int formatClass) {
    switch (formatClass) {
    case ClassVideo: return kVideoFormatCount;
    case ClassDevice: return kDeviceFormatCount;
    case ClassAudio: return kAudioFormatCount;
    default: return 0;
    }
}

QString FormatProfileKey(int formatClass, int index) {
    if (!ValidIndex(formatClass, index)) return {};
    switch (formatClass) {
    case ClassVideo: return QString::fromLatin1(kVideoKeys[index]);
    case ClassDevice: return QString::fromLatin1(kDeviceKeys[index]);
    default: return QString::fromLatin1(kAudioKeys[index]);
    }
}

QString FormatName(int formatClass, int index) {
    if (formatClass == ClassDevice && ValidIndex(formatClass, index))
        return QString::fromLatin1(kDeviceNames[index]);
    return FormatProfileKey(formatClass, index);
}

QString FormatButtonName(int formatClass, int index) {
    const QString name = FormatName(formatClass, index);
    return name.isEmpty() ? QString() : QStringLiteral("ButtonFormat") + name;
}

TProfile TProfile::Read(const sw::IniFile& ini) {
    TProfile p;
    const QString& s = kProfileSection;
    p.Name = ini.ReadString(s, "Name", "");
    p.Version = ini.ReadString(s, "Version", "");
    p.Download = ini.ReadBool(s, "Download", true);
    p.Res = ini.ReadString(s, "Res", "");
    ReadFlags(ini, kVideoKeys, p.Video);
    ReadFlags(ini, kDeviceKeys, p.Device);
    ReadFlags(ini, kAudioKeys, p.Audio);
    p.DefaultClass = ini.ReadInteger(s, "DefaultClass", 0);
    p.DefaultVideo = ini.ReadInteger(s, "DefaultVideo", 0);
    p.DefaultDevice = ini.ReadInteger(s, "DefaultDevice", 0);
    p.DefaultAudio = ini.ReadInteger(s, "DefaultAudio", 0);
    p.Skin = ini.ReadString(s, "Skin", "0");
    p.Merge = ini.ReadBool(s, "Merge", false);
    p.Copyright = ini.ReadString(s, "Copyright", "");
    return p;
}

TProfile TProfile::ReadFrom(const QString& programDir) {
    const sw::IniFile ini(programDir + "/" + kProfileFileName);
    return Read(ini);
}

int TProfile::SkinVariant() const {
    bool ok = false;
    const int v = Skin.trimmed().toInt(&ok);
    return ok && v >= 0 && v <= 3 ? v : 0;
}

int TProfile::InitialClass() const {
    return DefaultClass >= ClassVideo && DefaultClass <= ClassAudio ? DefaultClass : ClassVideo;
}

bool TProfile::Offered(int formatClass, int index) const {
    if (!ValidIndex(formatClass, index)) return false;
    switch (formatClass) {
    case ClassVideo: return Video[index];
    case ClassDevice: return Device[index];
    default: return Audio[index];
    }
}

bool TProfile::ClassOffered(int formatClass) const {
    for (int i = 0; i < FormatCount(formatClass); ++i)
        if (Offered(formatClass, i)) return true;
    return false;
}

int TProfile::OfferedClassCount() const {
    return int(ClassOffered(ClassVideo)) + int(ClassOffered(ClassDevice)) +
           int(ClassOffered(ClassAudio));
}

}  // namespace rc
