#include "RunSettings.h"

#include <QStringList>

#include "Folders.h"
#include "IniFile.h"
#include "Profile.h"

namespace rc {

namespace {

enum class KeyKind { String, Integer, Bool, Preference };

struct TKey {
    const char* name;
    KeyKind kind;
    QString TRunSettings::*text = nullptr;
    int TRunSettings::*number = nullptr;
    bool TRunSettings::*flag = nullptr;
    int slot = -1;
};

TKey Text(const char* n, QString TRunSettings::*m) { return {n, KeyKind::String, m, nullptr, nullptr, -1}; }
TKey Int(const char* n, int TRunSettings::*m) { return {n, KeyKind::Integer, nullptr, m, nullptr, -1}; }
TKey Flag(const char* n, bool TRunSettings::*m) { return {n, KeyKind::Bool, nullptr, nullptr, m, -1}; }

struct TPresetKey {
    int formatClass;
    int index;
    const char* name;
    int TRunSettings::*field;
};

// In the order of the settings file.
const std::vector<TPresetKey>& PresetKeys() {
    static const std::vector<TPresetKey> keys = {
        {ClassAudio, 0, "OutputWAVPreset", &TRunSettings::OutputWAVPreset},
        {ClassAudio, 1, "OutputMP3Preset", &TRunSettings::OutputMP3Preset},
        {ClassAudio, 2, "OutputWMAPreset", &TRunSettings::OutputWMAPreset},
        {ClassAudio, 3, "OutputOGGPreset", &TRunSettings::OutputOGGPreset},
        {ClassAudio, 5, "OutputM4APreset", &TRunSettings::OutputM4APreset},
        {ClassAudio, 4, "OutputAACPreset", &TRunSettings::OutputAACPreset},
        {ClassAudio, 6, "OutputFLACPreset", &TRunSettings::OutputFLACPreset},
        {ClassAudio, 7, "OutputMP2Preset", &TRunSettings::OutputMP2Preset},
        {ClassVideo, 0, "OutputAVIPreset", &TRunSettings::OutputAVIPreset},
        {ClassVideo, 1, "OutputMP4Preset", &TRunSettings::OutputMP4Preset},
        {ClassVideo, 2, "OutputFLVPreset", &TRunSettings::OutputFLVPreset},
        {ClassVideo, 3, "OutputSWFPreset", &TRunSettings::OutputSWFPreset},
        {ClassVideo, 4, "OutputMPEGPreset", &TRunSettings::OutputMPEGPreset},
        {ClassVideo, 5, "OutputRMPreset", &TRunSettings::OutputRMPreset},
        {ClassVideo, 6, "OutputWMVPreset", &TRunSettings::OutputWMVPreset},
        {ClassVideo, 7, "OutputMOVPreset", &TRunSettings::OutputMOVPreset},
        {ClassVideo, 8, "Output3GPPreset", &TRunSettings::Output3GPPreset},
        {ClassDevice, 0, "OutputiPodPreset", &TRunSettings::OutputiPodPreset},
        {ClassDevice, 1, "OutputiPhonePreset", &TRunSettings::OutputiPhonePreset},
        {ClassDevice, 2, "OutputAppleTVPreset", &TRunSettings::OutputAppleTVPreset},
        {ClassDevice, 3, "OutputPSPPreset", &TRunSettings::OutputPSPPreset},
        {ClassDevice, 4, "OutputBlackBerryPreset", &TRunSettings::OutputBlackBerryPreset},
        {ClassDevice, 5, "OutputMobilePhonePreset", &TRunSettings::OutputMobilePhonePreset},
        {ClassDevice, 6, "OutputiPadPreset", &TRunSettings::OutputiPadPreset},
    };
    return keys;
}

const std::vector<TKey>& AllKeys() {
    static const std::vector<TKey> keys = [] {
        std::vector<TKey> k = {
            Text("LastOpenDir", &TRunSettings::LastOpenDir),
            Text("OutputFileDir", &TRunSettings::OutputFileDir),
            Text("OutputURLDir", &TRunSettings::OutputURLDir),
            Int("OutputFormatClass", &TRunSettings::OutputFormatClass),
            Int("OutputAudioFormat", &TRunSettings::OutputAudioFormat),
            Int("OutputVideoFormat", &TRunSettings::OutputVideoFormat),
            Int("OutputDeviceFormat", &TRunSettings::OutputDeviceFormat),
        };
        for (const TPresetKey& p : PresetKeys()) k.push_back(Int(p.name, p.field));
        k.push_back(Flag("PlayASoundWhenFinished", &TRunSettings::PlayASoundWhenFinished));
        k.push_back(Flag("ShutDownWhenFinished", &TRunSettings::ShutDownWhenFinished));
        k.push_back(Flag("PreferYouTubeQuality", &TRunSettings::PreferYouTubeQuality));
        for (int s = 0; s < kPreferenceSlots; ++s)
            k.push_back({nullptr, KeyKind::Preference, nullptr, nullptr, nullptr, s});
        return k;
    }();
    return keys;
}

QString KeyName(const TKey& k) {
    return k.kind == KeyKind::Preference ? PreferenceKey(k.slot) : QString::fromLatin1(k.name);
}

}  // namespace

QString PreferenceKey(int slot) {
    return QStringLiteral("PreferYouTube") + (slot == 7 ? QStringLiteral("18") : QString::number(slot + 1));
}

TRunSettings TRunSettings::Defaults(const TProfile& profile, const QString& personal) {
    TRunSettings s;
    s.LastOpenDir = s.OutputFileDir = s.OutputURLDir = personal;
    s.OutputFormatClass = profile.DefaultClass;
    s.OutputVideoFormat = profile.DefaultVideo;
    s.OutputDeviceFormat = profile.DefaultDevice;
    s.OutputAudioFormat = profile.DefaultAudio;
    s.Merge = profile.Merge;
    s.Download = profile.Download;
    return s;
}

int* TRunSettings::PresetFor(int formatClass, int index) {
    for (const TPresetKey& p : PresetKeys())
        if (p.formatClass == formatClass && p.index == index) return &(this->*p.field);
    return nullptr;
}

const int* TRunSettings::PresetFor(int formatClass, int index) const {
    return const_cast<TRunSettings*>(this)->PresetFor(formatClass, index);
}

QString TRunSettings::PresetKey(int formatClass, int index) {
    for (const TPresetKey& p : PresetKeys())
        if (p.formatClass == formatClass && p.index == index) return QString::fromLatin1(p.name);
    return {};
}

QStringList TRunSettings::Keys() {
    QStringList out;
    for (const TKey& k : AllKeys()) out << KeyName(k);
    return out;
}

void TRunSettings::ReadFrom(const sw::IniFile& ini) {
    const QString& sec = kSettingsSection;
    for (const TKey& k : AllKeys()) {
        const QString key = KeyName(k);
        switch (k.kind) {
        case KeyKind::String: this->*k.text = ini.ReadString(sec, key, this->*k.text); break;
        case KeyKind::Integer: this->*k.number = ini.ReadInteger(sec, key, this->*k.number); break;
        case KeyKind::Bool: this->*k.flag = ini.ReadBool(sec, key, this->*k.flag); break;
        case KeyKind::Preference: {
            // Slots hold a quality number 0 to 7; a stored value outside
            // that range would index past the quality table.
            const int v = ini.ReadInteger(sec, key, PreferYouTube[k.slot]);
            if (v >= 0 && v < kPreferenceSlots) PreferYouTube[k.slot] = v;
            break;
        }
        }
    }
}

bool TRunSettings::WriteTo(sw::IniFile& ini) const {
    const QString& sec = kSettingsSection;
    sw::IniUpdate update(ini);
    bool ok = true;
    for (const TKey& k : AllKeys()) {
        const QString key = KeyName(k);
        switch (k.kind) {
        case KeyKind::String: ok &= ini.WriteString(sec, key, this->*k.text); break;
        case KeyKind::Integer: ok &= ini.WriteInteger(sec, key, this->*k.number); break;
        case KeyKind::Bool: ok &= ini.WriteBool(sec, key, this->*k.flag); break;
        case KeyKind::Preference: ok &= ini.WriteInteger(sec, key, PreferYouTube[k.slot]); break;
        }
    }
    return update.finish() && ok;
}

QString SettingsFolder(const sw::FolderEnvironment& env, const QString& title) {
    return sw::ResolveSettingsFolder(env, title);
}

QString PersonalFolder(const sw::FolderEnvironment& env) {
    return sw::DocumentsFolder(env);
}

bool LoadOrCreateSettings(const QString& path, TRunSettings& settings, QString* error) {
    sw::IniFile ini(path);
    if (ini.exists()) {
        settings.ReadFrom(ini);
        return true;
    }
    if (!settings.WriteTo(ini) && error) *error = ini.errorString();
    return false;
}

TRunSettings& RunSettings() {
    static TRunSettings settings;
    return settings;
}

}  // namespace rc
