#include "Commands.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>

#include "ShortcutText.h"

namespace {

using R = TCommandRule;
using G = TCommandGroup;

// number, objectName, caption, built-in shortcut, enabling rule, checkable, radio group, effect
const QList<TCommandInfo> kTable = {
    {1, "ActionUndo", "Undo", "Ctrl+Z", R::CanUndo, false, G::None, false},
    {2, "ActionRedo", "Redo", "", R::CanRedo, false, G::None, false},
    {3, "ActionCut", "Cut", "Ctrl+X", R::Sel, false, G::None, false},
    {4, "ActionCopy", "Copy", "Ctrl+C", R::Sel, false, G::None, false},
    {5, "ActionCopyToNew", "Copy To New", "", R::Sel, false, G::None, false},
    {6, "ActionPaste", "Paste", "Ctrl+V", R::Clip, false, G::None, false},
    {7, "ActionDelete", "Delete", "Del", R::Sel, false, G::None, false},
    {8, "ActionSelectAll", "Select All", "Ctrl+A", R::Audio, false, G::None, false},
    {9, "ActionSelectToStart", "Select To Start", "Shift+Home", R::Audio, false, G::None, false},
    {10, "ActionSelectToEnd", "Select To End", "Shift+End", R::Audio, false, G::None, false},
    {11, "ActionSelectSpecifiedTime", "Select Specified Time", "Ctrl+G", R::Audio, false, G::None, false},
    {12, "ActionMixFile", "Mix File", "", R::Open, false, G::None, false},
    {13, "ActionRepeat", "Repeat", "", R::Sel, false, G::None, false},
    {14, "ActionNewFile", "New File", "Ctrl+N", R::Always, false, G::None, false},
    {15, "ActionOpen", "Open", "Ctrl+O", R::Always, false, G::None, false},
    {16, "ActionLoadCD", "Load CD", "", R::Always, false, G::None, false},
    {17, "ActionImportFromVideo", "&Import from Video", "", R::Always, false, G::None, false},
    {18, "ActionWebFetch", "&WebFetch", "", R::Always, false, G::None, false},
    {19, "ActionSave", "Save File", "Ctrl+S", R::OpenWithExt, false, G::None, false},
    {20, "ActionSaveAs", "Save File As...", "", R::Audio, false, G::None, false},
    {21, "ActionSaveSelectionAs", "Save Selection As...", "", R::Sel, false, G::None, false},
    {22, "ActionCloseFile", "Close File", "", R::Open, false, G::None, false},
    {23, "ActionResample", "Resample", "", R::Open, false, G::None, false},
    {24, "ActionPasteMix", "Paste Mix", "", R::Clip, false, G::None, false},
    {25, "ActionCrop", "Crop", "Ctrl+T", R::Sel, false, G::None, false},
    {26, "ActionEditID3Tags", "Edit ID3 Tags", "", R::Open, false, G::None, false},
    {27, "ActionOptions", "Options", "", R::Always, false, G::None, false},
    {28, "ActionExit", "Exit", "", R::Always, false, G::None, false},
    {29, "ActionBatchConverter", "Batch Converter", "", R::Always, false, G::None, false},
    {30, "ActionContents", "&Contents", "F1", R::Always, false, G::None, false},
    {31, "ActionVersion", "Version", "", R::Always, false, G::None, false},
    {32, "ActionTrimStart", "Trim Start", "Ctrl+M", R::Audio, false, G::None, false},
    {33, "ActionTrimEnd", "Trim End", "Ctrl+E", R::Audio, false, G::None, false},
    {34, "ActionSilenceSel", "Silence Sel", "", R::Sel, false, G::None, false},
    {35, "ActionInsertSilenceBegin", "Begin", "", R::Open, false, G::None, false},
    {36, "ActionInsertSilenceCurrent", "Current", "", R::Open, false, G::None, false},
    {37, "ActionInsertSilenceEnd", "End", "", R::Open, false, G::None, false},
    {38, "ActionInsertFileBegin", "Begin", "", R::Open, false, G::None, false},
    {39, "ActionInsertFileCurrent", "Current", "", R::Open, false, G::None, false},
    {40, "ActionInsertFileEnd", "End", "", R::Open, false, G::None, false},
    {41, "ActionNewRecord", "New Record", "F5", R::Always, false, G::None, false},
    {42, "ActionPlay", "Play", "F9", R::Audio, false, G::None, false},
    {43, "ActionPlayToEnd", "Play To End", "", R::Audio, false, G::None, false},
    {44, "ActionLoopPlay", "Loop Play", "Shift+F9", R::Sel, false, G::None, false},
    {45, "ActionPause", "Pause", "", R::Audio, false, G::None, false},
    {46, "ActionStop", "Stop", "Esc", R::Audio, false, G::None, false},
    {47, "ActionGoToStart", "Go to Start", "Home", R::Audio, false, G::None, false},
    {48, "ActionRewind", "Rewind", "F7", R::Audio, false, G::None, false},
    {49, "ActionFastForword", "Fast Forword", "F8", R::Audio, false, G::None, false},
    {50, "ActionGoToEnd", "Go To End", "End", R::Audio, false, G::None, false},
    {51, "ActionAmplify", "Amplify", "", R::Audio, false, G::None, true},
    {52, "ActionNormalize", "Normalize", "", R::Audio, false, G::None, true},
    {53, "ActionCompressor", "Compressor", "", R::Audio, false, G::None, true},
    {54, "ActionHighPass", "High Pass", "", R::Audio, false, G::None, true},
    {55, "ActionEqualizer", "Equalizer", "", R::Audio, false, G::None, true},
    {56, "ActionEcho", "Echo", "", R::Audio, false, G::None, true},
    {57, "ActionReverb", "Reverb", "", R::Audio, false, G::None, true},
    {58, "ActionReverse", "Reverse", "", R::Audio, false, G::None, true},
    {59, "ActionFadeIn", "Fade In", "", R::Sel, false, G::None, true},
    {60, "ActionFadeOut", "Fade Out", "", R::Sel, false, G::None, true},
    {61, "ActionFadeOutAndTrim", "Fade Out and Trim", "", R::Sel, false, G::None, true},
    {62, "ActionFade", "Fade", "", R::Sel, false, G::None, true},
    {63, "ActionEnvelope", "Envelope", "", R::Audio, false, G::None, true},
    {64, "ActionMixStereo", "Mix Stereo", "", R::Audio, false, G::None, true},
    {65, "ActionNoiseReduction", "Noise Reduction", "", R::Audio, false, G::None, true},
    {66, "ActionSpeedChange", "Speed Change", "", R::Audio, false, G::None, true},
    {67, "ActionPitchChange", "Pitch Change", "", R::Audio, false, G::None, true},
    {68, "ActionPhaser", "Phaser", "", R::Audio, false, G::None, true},
    {69, "ActionFlanger", "Flanger", "", R::Audio, false, G::None, true},
    {70, "ActionChorus", "Chorus", "", R::Audio, false, G::None, true},
    {71, "ActionSetBookmark", "Set Bookmark", "Ctrl+B", R::Audio, false, G::None, false},
    {72, "ActionOpenBookmarkList", "Open Bookmark List", "Shift+Ctrl+B", R::Audio, false, G::None, false},
    {73, "ActionAddRegion", "Add Region", "Ctrl+R", R::Sel, false, G::None, false},
    {74, "ActionOpenRegionList", "Open Region List", "Shift+Ctrl+R", R::Sel, false, G::None, false},
    {75, "ActionFrequencyAnalysis", "Frequency Analysis", "", R::Audio, false, G::None, false},
    {76, "ActionTextToSpeech", "Text To Speech", "", R::Always, false, G::None, false},
    {77, "ActionShowCommandList", "Show Command List", "Shift+Ctrl+A", R::Always, true, G::None, false},
    {78, "ActionOnTheLeft", "On the Left", "", R::Always, true, G::CommandListSide, false},
    {79, "ActionOnTheRight", "On the Right", "", R::Always, true, G::CommandListSide, false},
    {80, "ActionZoomIn", "Zoom In", "", R::Audio, false, G::None, false},
    {81, "ActionZoomOut", "Zoom Out", "", R::Audio, false, G::None, false},
    {82, "ActionZoomToSelection", "Zoom To Selection", "", R::Sel, false, G::None, false},
    {83, "ActionZoomFull", "Zoom Full", "", R::Audio, false, G::None, false},
    {84, "ActionSpacePlay", "...", "Space", R::Audio, false, G::None, false},
    {85, "ActionProductPage", "Product Page", "", R::Always, false, G::None, false},
    {86, "ActionTechnicalSupport", "&Technical Support", "", R::Always, false, G::None, false},
    {87, "ActionCompanyHomepage", "Company &Homepage", "", R::Always, false, G::None, false},
    {88, "ActionWelcomeWindow", "Welcome Window", "", R::Always, false, G::None, false},
    {89, "ActionWaveformMode", "Waveform Mode", "", R::Open, true, G::DisplayMode, false},
    {90, "ActionSpectralMode", "Spectral Mode", "", R::Open, true, G::DisplayMode, false},
    {91, "ActionWorkplaceBlackWhiteStyle", "Workplace Black/White Style", "", R::Always, true, G::None, false},
    {92, "ActionHorizontalDecimal", "Decimal (m:ss.dddd)", "", R::Open, true, G::HorizontalFormat, false},
    {93, "ActionHorizontalSample", "Sample", "", R::Open, true, G::HorizontalFormat, false},
    {94, "ActionHorizontalVisible", "Visible", "", R::Open, true, G::None, false},
    {95, "ActionVerticalSampleValues", "Sample Values", "", R::Open, true, G::VerticalFormat, false},
    {96, "ActionVerticalNormalizedValues", "Normalized Values", "", R::Open, true, G::VerticalFormat, false},
    {97, "ActionVerticalDecibelValues", "Decibel Values", "", R::Open, true, G::VerticalFormat, false},
    {98, "ActionVerticalVisible", "Visible", "", R::Open, true, G::None, false},
    {99, "ActionFileMerger", "File &Merger", "", R::Always, false, G::None, false},
    {100, "ActionWMAInfo", "WMA Info", "", R::Always, false, G::None, false},
    {101, "ActionBurnCD", "&Burn CD", "", R::Always, false, G::None, false},
    {102, "ActionCDRipper", "CD Ripper", "", R::Always, false, G::None, false},
    {103, "ActionDiscEraser", "Disc Eraser", "", R::Always, false, G::None, false},
    {104, "ActionVerticalZoomIn", "Vertical Zoom In", "", R::Open, false, G::None, false},
    {105, "ActionVerticalZoomOut", "Vertical Zoom Out", "", R::Open, false, G::None, false},
    {106, "ActionZoomToRight", "Zoom To Right", "", R::Audio, false, G::None, false},
    {107, "ActionZoomToLeft", "Zoom To Left", "", R::Audio, false, G::None, false},
    {108, "ActionWindowsMixer", "&Windows Mixer", "", R::Always, false, G::None, false},
    {109, "ActionTransportRibbon", "Transport (Ribbon)", "", R::Always, true, G::None, false},
    {110, "ActionZoomRibbon", "Zoom (Ribbon)", "", R::Always, true, G::None, false},
    {111, "ActionVibrato", "Vibrato", "", R::Audio, false, G::None, true},
    {112, "ActionNotchFilter", "Notch Filter", "", R::Audio, false, G::None, true},
    {113, "ActionBandPass", "Band Pass", "", R::Audio, false, G::None, true},
    {114, "ActionLowPass", "Low Pass", "", R::Audio, false, G::None, true},
    {115, "ActionLowShelf", "Low Shelf", "", R::Audio, false, G::None, true},
    {116, "ActionHighShelf", "High Shelf", "", R::Audio, false, G::None, true},
    {117, "ActionPeakEQ", "Peak EQ", "", R::Audio, false, G::None, true},
    {118, "ActionInvert", "Invert", "", R::Audio, false, G::None, true},
    {119, "ActionCassetteNoiseReduction", "Cassette Noise Reduction", "", R::Audio, false, G::None, true},
    {120, "ActionVoiceBreathNoiseReduction", "Voice Breath Noise Reduction", "", R::Audio, false, G::None, true},
    {121, "ActionLeftChannel", "Left Channel", "", R::Open, false, G::None, false},
    {122, "ActionRightChannel", "Right Channel", "", R::Open, false, G::None, false},
    {123, "ActionBothChannels", "Both Channels", "", R::Open, false, G::None, false},
    {124, "ActionKeyboardShortcuts", "&Keyboard Shortcuts", "", R::Always, false, G::None, false},
    {125, "ActionFAQ1", "1. Change audio source in Windows Vista/7", "", R::Always, false, G::None, false},
    {126, "ActionFAQ2", "2. Record Quick Tour", "", R::Always, false, G::None, false},
    {127, "ActionFAQ3", "3. Importing Audio Tracks from CDs", "", R::Always, false, G::None, false},
    {128, "ActionFAQ4", "4. Basic Audio Editing", "", R::Always, false, G::None, false},
    {129, "ActionFAQ5", "5. Connecting Your Stereo Equipment", "", R::Always, false, G::None, false},
    {130, "ActionFAQ6", "6. Bookmarks and Regions", "", R::Always, false, G::None, false},
};

const char* GroupName(TCommandGroup g) {
    switch (g) {
    case G::DisplayMode: return "GroupDisplayMode";
    case G::HorizontalFormat: return "GroupHorizontalFormat";
    case G::VerticalFormat: return "GroupVerticalFormat";
    case G::CommandListSide: return "GroupCommandListSide";
    case G::None: break;
    }
    return "";
}

}  // namespace

const QList<TCommandInfo>& CommandTable() { return kTable; }

const TCommandInfo* FindCommand(const QString& objectName) {
    static const QHash<QString, int> index = [] {
        QHash<QString, int> h;
        for (int i = 0; i < kTable.size(); ++i) h.insert(QString::fromLatin1(kTable[i].name), i);
        return h;
    }();
    const auto it = index.constFind(objectName);
    return it == index.constEnd() ? nullptr : &kTable[*it];
}

QString StripAmpersands(const QString& caption) {
    QString s = caption;
    s.remove(QLatin1Char('&'));
    return s;
}

bool CommandEnabled(TCommandRule rule, const TCommandState& s) {
    switch (rule) {
    case R::Always: return true;
    case R::OpenWithExt: return s.open && s.hasExtension;
    case R::Open: return s.open;
    case R::CanUndo: return s.open && s.canUndo;
    case R::CanRedo: return s.open && s.canRedo;
    case R::Clip: return s.open && s.clip;
    case R::Audio: return s.open && s.audio;
    case R::Sel: return s.open && s.audio && s.sel;
    }
    return false;
}

QList<QAction*> CreateCommandActions(QObject* owner) {
    QHash<TCommandGroup, QActionGroup*> groups;
    QList<QAction*> actions;
    actions.reserve(kTable.size());
    for (const TCommandInfo& c : kTable) {
        auto* a = new QAction(QString::fromUtf8(c.caption), owner);
        a->setObjectName(QString::fromLatin1(c.name));
        a->setShortcut(TextToShortcut(QString::fromLatin1(c.shortcut)));
        a->setCheckable(c.checkable);
        a->setEnabled(c.rule == R::Always);
        if (c.group != G::None) {
            QActionGroup*& g = groups[c.group];
            if (!g) {
                g = new QActionGroup(owner);
                g->setObjectName(QString::fromLatin1(GroupName(c.group)));
                g->setExclusive(true);
            }
            g->addAction(a);
        }
        actions.append(a);
    }
    return actions;
}

QHash<QString, QAction*> ActionsByName(const QList<QAction*>& actions) {
    QHash<QString, QAction*> h;
    for (QAction* a : actions) h.insert(a->objectName(), a);
    return h;
}

void ApplyCommandStates(const QList<QAction*>& actions, const TCommandState& state) {
    for (QAction* a : actions) {
        if (const TCommandInfo* c = FindCommand(a->objectName())) a->setEnabled(CommandEnabled(c->rule, state));
    }
}
