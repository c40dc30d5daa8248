// The format dialogs driven offscreen: what they show for the settings
// record, their enabling rules, the minimum/maximum rule of the MP3 bit
// rates, and the store of the record through the calling protocol.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

#include "FormatDialogShots.h"
#include "GlobalVars.h"
#include "Help.h"
#include "HelpWindow.h"
#include "ImageSlider.h"
#include "Mp3FormatForm.h"
#include "OggFormatForm.h"
#include "OutputFormats.h"
#include "ScriptedDialogService.h"
#include "WaveFormatForm.h"
#include "WmaFormatForm.h"

namespace {

template <class W = QWidget>
W* Child(QWidget& dialog, const char* name) {
    W* w = dialog.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

bool Enabled(QWidget& dialog, const char* name) {
    QWidget* w = Child(dialog, name);
    return w && w->isEnabled();
}

// ---- The outer dialogs -----------------------------------------------------

struct OuterCase {
    int formatCode;
    const char* objectName;
    const char* caption;
    int presetMax;
    const char* label1;          // for a fresh installation
    const char* label2;
    const char* description;     // nullptr: no specified settings
};

const OuterCase kOuter[] = {
    {1, "WaveFormatForm", "Wave File Setup", 2, "CD Quality", "44,100 Hz, 16 bits, Stereo",
     "WAV, 44,100 Hz, 16 bits, Stereo"},
    {2, "Mp3FormatForm", "MP3 File Setup", 10, "CD Quality", "[MPEG 1, Layer 3, 192kbps, Stereo]",
     "MPEG 1, Layer 3, 192kbps, Stereo"},
    {6, "OGGFormatForm", "OGG File Setup", 6, "CD Quality", "192 kbps, Stereo", "Variable bit rate 60%, Stereo"},
    {11, "WMAFormatForm", "WMA File Setup", 6, "CD Quality", "[WMA, 128 kbps, 44,100 Hz, Stereo]", nullptr},
};

std::unique_ptr<TFormatSetupForm> MakeOuter(int code, TGlobalVars& vars) {
    switch (code) {
    case 1: return std::make_unique<TWaveFormatForm>(vars);
    case 2: return std::make_unique<TMp3FormatForm>(vars);
    case 6: return std::make_unique<TOGGFormatForm>(vars);
    case 11: return std::make_unique<TWMAFormatForm>(vars);
    }
    return nullptr;
}

// The Type and preset fields of a format in the record.
unsigned char& TypeField(TGlobalVars& v, int code) {
    static unsigned char none = 0;
    switch (code) {
    case 1: return v.OutputWAVType;
    case 2: return v.OutputMP3Type;
    case 6: return v.OutputOGGType;
    }
    return none;
}

unsigned char& PresetField(TGlobalVars& v, int code) {
    switch (code) {
    case 1: return v.OutputWAVPersets;
    case 2: return v.OutputMP3Presets;
    case 6: return v.OutputOGGPresets;
    }
    return v.OutputWMAPresets;
}

TEST(FormatSetupForms, FreshInstallationShows) {
    for (const auto& c : kOuter) {
        SCOPED_TRACE(c.objectName);
        TGlobalVars vars;
        auto dialog = MakeOuter(c.formatCode, vars);
        dialog->LoadFromSettings();
        dialog->show();
        EXPECT_EQ(dialog->objectName(), c.objectName);
        EXPECT_EQ(dialog->windowTitle(), c.caption);
        auto* slider = Child<TImageSlider>(*dialog, "ImageSliderPreset");
        EXPECT_EQ(slider->Min(), 0);
        EXPECT_EQ(slider->Max(), c.presetMax);
        EXPECT_EQ(slider->Increment(), 1);
        EXPECT_TRUE(slider->SliderOptions() & TImageSlider::soShowPoints);
        EXPECT_EQ(Child<QLabel>(*dialog, "LabelPresetQuality1")->text(), c.label1);
        EXPECT_EQ(Child<QLabel>(*dialog, "LabelPresetQuality2")->text(), c.label2);
        EXPECT_EQ(Child<QLabel>(*dialog, "LabelLowQuality")->text(), "Low Quality,\nSmall Size");
        EXPECT_EQ(Child<QLabel>(*dialog, "LabelHighQuality")->text(), "High Quality,\nLarge Size");
        for (const char* b : {"ButtonOK", "ButtonCancel", "ButtonHelp"}) EXPECT_NE(dialog->findChild<QPushButton*>(b), nullptr) << b;
        if (c.description) {
            EXPECT_EQ(Child<QLabel>(*dialog, "LabelSpecifySettings")->text(), c.description);
            EXPECT_TRUE(Child<QRadioButton>(*dialog, "RadioButtonPresetQuality")->isChecked());
            EXPECT_EQ(Child<QRadioButton>(*dialog, "RadioButtonPresetQuality")->text(), "&Preset Quality:");
            EXPECT_EQ(Child<QRadioButton>(*dialog, "RadioButtonSpecifySettings")->text(), "&Specify Settings:");
            EXPECT_EQ(Child<QPushButton>(*dialog, "ButtonConfigure")->text(), "&Configure...");
        } else {
            for (const char* n : {"RadioButtonPresetQuality", "RadioButtonSpecifySettings", "LabelSpecifySettings",
                                  "ButtonConfigure"})
                EXPECT_EQ(dialog->findChild<QWidget*>(n), nullptr) << n;
        }
    }
}

TEST(FormatSetupForms, EnablingFollowsTheChoice) {
    const char* presetPart[] = {"LabelPresetQuality1", "LabelPresetQuality2", "LabelLowQuality", "ImageSliderPreset",
                                "LabelHighQuality"};
    const char* specifyPart[] = {"LabelSpecifySettings", "ButtonConfigure"};
    for (const auto& c : kOuter) {
        if (!c.description) continue;
        SCOPED_TRACE(c.objectName);
        for (int type : {1, 0, 1}) {
            TGlobalVars vars;
            TypeField(vars, c.formatCode) = static_cast<unsigned char>(type);
            auto dialog = MakeOuter(c.formatCode, vars);
            dialog->LoadFromSettings();
            dialog->show();
            for (bool clickOther : {false, true}) {
                const bool specify = (type == 1) != clickOther;
                if (clickOther)
                    Child<QRadioButton>(*dialog, specify ? "RadioButtonSpecifySettings" : "RadioButtonPresetQuality")
                        ->click();
                for (const char* n : presetPart) EXPECT_EQ(Enabled(*dialog, n), !specify) << n;
                for (const char* n : specifyPart) EXPECT_EQ(Enabled(*dialog, n), specify) << n;
            }
        }
    }
}

TEST(FormatSetupForms, SliderSetsPresetLabels) {
    const struct { int code; int position; const char* label1; const char* label2; } cases[] = {
        {1, 0, "FM Quality", "22,050 Hz, 16 bits, Stereo"},
        {1, 2, "Hi-Fi Quality", "96,000 Hz, 16 bits, Stereo"},
        {2, 0, "Phone Quality", "[MPEG 2.5, Layer 3, 16kbps, Mono]"},
        {2, 10, "Super Quality!", "[MPEG 1, Layer 3, 320kbps, Stereo]"},
        {6, 0, "Voice Quality", "64 kbps, Mono"},
        {6, 6, "Best Quality", "320 kbps, Stereo"},
        {11, 2, "High Quality Mono", "[WMA, 48 kbps, 44,100 Hz, Mono]"},
        {11, 6, "Studio Quality", "[WMA, 192 kbps, 44,100 Hz, Stereo]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << "/" << c.position);
        TGlobalVars vars;
        auto dialog = MakeOuter(c.code, vars);
        dialog->LoadFromSettings();
        dialog->show();
        Child<TImageSlider>(*dialog, "ImageSliderPreset")->SetValue(c.position);
        EXPECT_EQ(Child<QLabel>(*dialog, "LabelPresetQuality1")->text(), c.label1);
        EXPECT_EQ(Child<QLabel>(*dialog, "LabelPresetQuality2")->text(), c.label2);
    }
}

TEST(FormatSetupForms, LoadAndStoreTypeAndPreset) {
    for (const auto& c : kOuter) {
        SCOPED_TRACE(c.objectName);
        TGlobalVars vars;
        const bool withType = c.description != nullptr;
        if (withType) TypeField(vars, c.formatCode) = 1;
        PresetField(vars, c.formatCode) = 1;
        auto dialog = MakeOuter(c.formatCode, vars);
        dialog->LoadFromSettings();
        auto* slider = Child<TImageSlider>(*dialog, "ImageSliderPreset");
        EXPECT_EQ(slider->Value(), 1);
        if (withType) {
            EXPECT_TRUE(Child<QRadioButton>(*dialog, "RadioButtonSpecifySettings")->isChecked());
            Child<QRadioButton>(*dialog, "RadioButtonPresetQuality")->click();
        }
        slider->SetValue(2);
        dialog->StoreToSettings();
        EXPECT_EQ(PresetField(vars, c.formatCode), 2);
        if (withType) {
            EXPECT_EQ(TypeField(vars, c.formatCode), 0);
        }
    }
}

TEST(FormatSetupForms, HelpOpensTheFormatsTopic) {
    QTemporaryDir dir;
    const QString bundle = dir.filePath("soundwright.chm");
    ASSERT_TRUE(QDir().mkpath(bundle));
    const char* pages[] = {"wavsettings.htm", "mp3settings.htm", "oggsettings.htm", "wmasettings.htm"};
    for (const char* page : pages) {
        QFile f(bundle + "/" + page);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("<html><body>") + page + "</body></html>");
    }
    sw::HelpLayer layer(bundle);
    sw::ScopedHelpLayer scope(layer);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(kOuter[i].objectName);
        TGlobalVars vars;
        auto dialog = MakeOuter(kOuter[i].formatCode, vars);
        Child<QPushButton>(*dialog, "ButtonHelp")->click();
        ASSERT_NE(layer.window(), nullptr);
        EXPECT_EQ(layer.window()->currentPage(), pages[i]);
    }
}

// ---- The calling protocol --------------------------------------------------

TEST(RunOutputFormatDialog, OkStoresCancelKeeps) {
    for (const auto& c : kOuter) {
        for (bool ok : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.objectName << (ok ? " ok" : " cancel"));
            TGlobalVars vars;
            const unsigned char before = PresetField(vars, c.formatCode);
            sw::ScriptedDialogService script;
            script.ThenDialog([&](QDialog& d) {
                Child<TImageSlider>(d, "ImageSliderPreset")->SetValue(0);
                if (c.description) Child<QRadioButton>(d, "RadioButtonSpecifySettings")->click();
                Child<QPushButton>(d, ok ? "ButtonOK" : "ButtonCancel")->click();
                return -1;
            });
            sw::ScopedDialogService scope(script);
            QWidget owner;
            owner.setGeometry(100, 100, 800, 600);
            EXPECT_EQ(RunOutputFormatDialog(c.formatCode, vars, &owner), ok);
            EXPECT_FALSE(script.scriptFailed());
            ASSERT_EQ(script.titles().size(), 1);
            EXPECT_EQ(script.titles()[0], c.caption);
            EXPECT_EQ(PresetField(vars, c.formatCode), ok ? 0 : before);
            if (c.description) {
                EXPECT_EQ(TypeField(vars, c.formatCode), ok ? 1 : 0);
            }
        }
    }
}

TEST(RunOutputFormatDialog, OtherCodesRunNothing) {
    for (int code : {0, 3, 4, 7, 12}) {
        TGlobalVars vars;
        sw::ScriptedDialogService script;
        sw::ScopedDialogService scope(script);
        EXPECT_FALSE(RunOutputFormatDialog(code, vars, nullptr)) << code;
        EXPECT_TRUE(script.dialogs().isEmpty()) << code;
    }
}

// A confirmed sub-dialog stores at once; cancelling the outer dialog
// afterwards keeps that but not a changed Type or preset.
TEST(RunOutputFormatDialog, ConfigureThenCancel) {
    const struct {
        int code;
        const char* subName;
        std::function<void(QDialog&)> work;
        std::function<void(const TGlobalVars&)> check;
        const char* description;
    } cases[] = {
        {1, "WaveFormatSpecifyForm",
         [](QDialog& d) {
             Child<QComboBox>(d, "ComboBoxSampleRate")->setCurrentIndex(4);
             Child<QComboBox>(d, "ComboBoxBitDepth")->setCurrentIndex(0);
             Child<QRadioButton>(d, "RadioButtonMono")->click();
         },
         [](const TGlobalVars& v) {
             EXPECT_EQ(v.OutputWAVSampleType, 4);
             EXPECT_EQ(v.OutputWAVBitesPerSample, 0);
             EXPECT_EQ(v.OutputWAVMode, 1);
         },
         "WAV, 22,050 Hz, 8 bits, Mono"},
        {2, "Mp3SettingsSpecifyForm",
         [](QDialog& d) {
             Child<QComboBox>(d, "ComboBoxConstant")->setCurrentIndex(8);
             Child<QComboBox>(d, "ComboBoxMode")->setCurrentIndex(3);
         },
         [](const TGlobalVars& v) {
             EXPECT_EQ(v.OutputMP3CBRBitRate, 8);
             EXPECT_EQ(v.OutputMP3Mode, 3);
         },
         "MPEG 1, Layer 3, 128kbps, Mono"},
        {6, "OGGSettingsSpecifyForm",
         [](QDialog& d) {
             Child<QRadioButton>(d, "RadioButtonAverage")->click();
             Child<QComboBox>(d, "ComboBoxSetAverage")->setCurrentIndex(2);
         },
         [](const TGlobalVars& v) {
             EXPECT_TRUE(v.OutputOGGABR);
             EXPECT_EQ(v.OutputOGGABRBitRate, 2);
         },
         "Average Bit Rate: 128 kbps, Stereo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subName);
        TGlobalVars vars;
        const unsigned char preset = PresetField(vars, c.code);
        sw::ScriptedDialogService script;
        QString shownAfterConfigure;
        script.ThenDialog([&](QDialog& d) {
            Child<QRadioButton>(d, "RadioButtonSpecifySettings")->click();
            Child<TImageSlider>(d, "ImageSliderPreset")->SetValue(0);
            Child<QPushButton>(d, "ButtonConfigure")->click();
            shownAfterConfigure = Child<QLabel>(d, "LabelSpecifySettings")->text();
            return int(QDialog::Rejected);
        });
        script.ThenDialog([&](QDialog& d) {
            c.work(d);
            return int(QDialog::Accepted);
        });
        sw::ScopedDialogService scope(script);
        EXPECT_FALSE(RunOutputFormatDialog(c.code, vars, nullptr));
        EXPECT_FALSE(script.scriptFailed());
        ASSERT_EQ(script.dialogs().size(), 2);
        EXPECT_EQ(script.dialogs()[1], c.subName);
        c.check(vars);
        EXPECT_EQ(shownAfterConfigure, c.description);
        EXPECT_EQ(PresetField(vars, c.code), preset);
        EXPECT_EQ(TypeField(vars, c.code), 0);
    }
}

TEST(RunOutputFormatDialog, CancelledSubDialogStoresNothing) {
    TGlobalVars vars;
    sw::ScriptedDialogService script;
    script.ThenDialog([&](QDialog& d) {
        Child<QRadioButton>(d, "RadioButtonSpecifySettings")->click();
        Child<QPushButton>(d, "ButtonConfigure")->click();
        return int(QDialog::Accepted);
    });
    script.ThenDialog([](QDialog& d) {
        Child<QComboBox>(d, "ComboBoxSampleRate")->setCurrentIndex(0);
        return int(QDialog::Rejected);
    });
    sw::ScopedDialogService scope(script);
    EXPECT_TRUE(RunOutputFormatDialog(1, vars, nullptr));
    EXPECT_EQ(vars.OutputWAVSampleType, 7);
    EXPECT_EQ(vars.OutputWAVType, 1);
}

// ---- The sub-dialogs -------------------------------------------------------

TEST(WaveFormatSpecifyForm, LoadAndStore) {
    TGlobalVars vars;
    vars.OutputWAVSampleType = 9;
    vars.OutputWAVBitesPerSample = 3;
    vars.OutputWAVMode = 1;
    TWaveFormatSpecifyForm d(vars);
    d.LoadFromSettings();
    EXPECT_EQ(d.windowTitle(), "Configure Wave Settings");
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxSampleRate")->currentText(), "96000 Hz");
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxBitDepth")->currentText(), "32 bits");
    EXPECT_TRUE(Child<QRadioButton>(d, "RadioButtonMono")->isChecked());
    Child<QComboBox>(d, "ComboBoxSampleRate")->setCurrentIndex(2);
    Child<QRadioButton>(d, "RadioButtonStereo")->click();
    d.StoreToSettings();
    EXPECT_EQ(vars.OutputWAVSampleType, 2);
    EXPECT_EQ(vars.OutputWAVBitesPerSample, 3);
    EXPECT_EQ(vars.OutputWAVMode, 0);
}

// Values outside the lists select nothing and survive a store untouched.
TEST(WaveFormatSpecifyForm, OutsideValuesSurvive) {
    TGlobalVars vars;
    vars.OutputWAVSampleType = 12;
    vars.OutputWAVBitesPerSample = 7;
    vars.OutputWAVMode = 4;
    TWaveFormatSpecifyForm d(vars);
    d.LoadFromSettings();
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxSampleRate")->currentIndex(), -1);
    EXPECT_FALSE(Child<QRadioButton>(d, "RadioButtonMono")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(d, "RadioButtonStereo")->isChecked());
    d.StoreToSettings();
    EXPECT_EQ(vars.OutputWAVSampleType, 12);
    EXPECT_EQ(vars.OutputWAVBitesPerSample, 7);
    EXPECT_EQ(vars.OutputWAVMode, 4);
}

TEST(Mp3SettingsSpecifyForm, Enabling) {
    const struct { bool cbr, quality; } cases[] = {{true, true}, {true, false}, {false, true}, {false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "cbr " << c.cbr << " quality " << c.quality);
        TGlobalVars vars;
        TMp3SettingsSpecifyForm d(vars);
        d.LoadFromSettings();
        d.show();
        // Reach the case by clicking, as a user would: the steering buttons
        // can only be clicked while Variable is chosen.
        Child<QRadioButton>(d, "RadioButtonVariable")->click();
        Child<QRadioButton>(d, c.quality ? "RadioButtonQuality" : "RadioButtonSetAverage")->click();
        if (c.cbr) Child<QRadioButton>(d, "RadioButtonConstant")->click();
        const bool variable = !c.cbr;
        EXPECT_EQ(Enabled(d, "ComboBoxConstant"), c.cbr);
        for (const char* n : {"GroupBoxVariable", "LabelMin", "ComboBoxMin", "LabelMax", "ComboBoxMax",
                              "RadioButtonQuality", "RadioButtonSetAverage", "CheckBoxWriteXING"})
            EXPECT_EQ(Enabled(d, n), variable) << n;
        for (const char* n : {"ImageSliderQuality", "LabelLow", "LabelHigh", "LabelQuality"})
            EXPECT_EQ(Enabled(d, n), variable && c.quality) << n;
        EXPECT_EQ(Enabled(d, "ComboBoxSetAverage"), variable && !c.quality);
        EXPECT_TRUE(Enabled(d, "CheckBoxChecksum"));
    }
}

TEST(Mp3SettingsSpecifyForm, MinimumAndMaximumStayOrdered) {
    const struct {
        const char* name;
        int startMin, startMax;
        const char* changed;   // "min" or "max"
        int index;
        int endMin, endMax;
    } cases[] = {
        {"min 256 over max 48 moves max to 320", 1, 1, "min", 12, 12, 12},
        {"min 64 over max 48", 0, 1, "min", 4, 4, 4},
        {"min below max keeps max", 8, 12, "min", 2, 2, 12},
        {"equal min keeps max", 3, 5, "min", 5, 5, 5},
        {"max below min moves min", 8, 12, "max", 3, 3, 3},
        {"max above min keeps min", 8, 10, "max", 12, 8, 12},
        {"max equal to min keeps min", 6, 10, "max", 6, 6, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TGlobalVars vars;
        vars.OutputMP3CBR = false;
        vars.OutputMP3VBRBitRateMin = static_cast<unsigned char>(c.startMin);
        vars.OutputMP3VBRBitRateMax = static_cast<unsigned char>(c.startMax);
        TMp3SettingsSpecifyForm d(vars);
        d.LoadFromSettings();
        auto* min = Child<QComboBox>(d, "ComboBoxMin");
        auto* max = Child<QComboBox>(d, "ComboBoxMax");
        EXPECT_EQ(min->currentIndex(), c.startMin);
        EXPECT_EQ(max->currentIndex(), c.startMax);
        (QString(c.changed) == "min" ? min : max)->setCurrentIndex(c.index);
        EXPECT_EQ(min->currentIndex(), c.endMin);
        EXPECT_EQ(max->currentIndex(), c.endMax);
    }
    // The named case in kbps.
    TGlobalVars vars;
    vars.OutputMP3VBRBitRateMax = 1;
    TMp3SettingsSpecifyForm d(vars);
    d.LoadFromSettings();
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMax")->currentText(), "48 kbps");
    Child<QComboBox>(d, "ComboBoxMin")->setCurrentIndex(12);
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMin")->currentText(), "256 kbps");
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMax")->currentText(), "320 kbps");
    d.StoreToSettings();
    EXPECT_EQ(vars.OutputMP3VBRBitRateMin, 12);
    EXPECT_EQ(vars.OutputMP3VBRBitRateMax, 12);
}

// A stored pair out of order is shown as stored; loading is not a change.
TEST(Mp3SettingsSpecifyForm, LoadKeepsStoredPair) {
    TGlobalVars vars;
    vars.OutputMP3VBRBitRateMin = 10;
    vars.OutputMP3VBRBitRateMax = 2;
    TMp3SettingsSpecifyForm d(vars);
    d.LoadFromSettings();
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMin")->currentIndex(), 10);
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMax")->currentIndex(), 2);
}

TEST(Mp3SettingsSpecifyForm, QualitySliderReadsReversed) {
    const struct { int position; const char* label; int stored; } cases[] = {
        {0, "9", 9}, {7, "2", 2}, {9, "0", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        TGlobalVars vars;
        vars.OutputMP3CBR = false;
        TMp3SettingsSpecifyForm d(vars);
        d.LoadFromSettings();
        d.show();
        auto* slider = Child<TImageSlider>(d, "ImageSliderQuality");
        EXPECT_EQ(slider->Value(), 7);   // level 2
        EXPECT_EQ(slider->Max(), 9);
        EXPECT_TRUE(slider->SliderOptions() & TImageSlider::soShowPoints);
        slider->SetValue(c.position);
        EXPECT_EQ(Child<QLabel>(d, "LabelQuality")->text(), c.label);
        d.StoreToSettings();
        EXPECT_EQ(vars.OutputMP3QualityLevelValue, c.stored);
    }
}

TEST(Mp3SettingsSpecifyForm, LoadAndStoreEveryField) {
    TGlobalVars vars;
    vars.OutputMP3Mode = 2;
    vars.OutputMP3CBR = false;
    vars.OutputMP3CBRBitRate = 3;
    vars.OutputMP3VBRBitRateMin = 4;
    vars.OutputMP3VBRBitRateMax = 9;
    vars.OutputMP3QualityLevel = false;
    vars.OutputMP3QualityLevelValue = 5;
    vars.OutputMP3ABRBitRate = 6;
    vars.OutputMP3WriteXING = false;
    vars.OutputMP3Checksum = true;
    TMp3SettingsSpecifyForm d(vars);
    d.LoadFromSettings();
    EXPECT_EQ(d.windowTitle(), "Configure MP3 Settings");
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMode")->currentText(), "Dual Channels");
    EXPECT_TRUE(Child<QRadioButton>(d, "RadioButtonVariable")->isChecked());
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxConstant")->currentText(), "56 kbps");
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMin")->currentText(), "64 kbps");
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxMax")->currentText(), "192 kbps");
    EXPECT_TRUE(Child<QRadioButton>(d, "RadioButtonSetAverage")->isChecked());
    EXPECT_EQ(Child<TImageSlider>(d, "ImageSliderQuality")->Value(), 4);
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxSetAverage")->currentText(), "96 kbps");
    EXPECT_FALSE(Child<QCheckBox>(d, "CheckBoxWriteXING")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>(d, "CheckBoxChecksum")->isChecked());

    Child<QComboBox>(d, "ComboBoxMode")->setCurrentIndex(1);
    Child<QComboBox>(d, "ComboBoxSetAverage")->setCurrentIndex(0);
    Child<QRadioButton>(d, "RadioButtonQuality")->click();
    Child<QCheckBox>(d, "CheckBoxWriteXING")->click();
    Child<QRadioButton>(d, "RadioButtonConstant")->click();
    Child<QComboBox>(d, "ComboBoxConstant")->setCurrentIndex(13);
    Child<QCheckBox>(d, "CheckBoxChecksum")->click();
    d.StoreToSettings();
    EXPECT_EQ(vars.OutputMP3Mode, 1);
    EXPECT_TRUE(vars.OutputMP3CBR);
    EXPECT_EQ(vars.OutputMP3CBRBitRate, 13);
    EXPECT_EQ(vars.OutputMP3VBRBitRateMin, 4);
    EXPECT_EQ(vars.OutputMP3VBRBitRateMax, 9);
    EXPECT_TRUE(vars.OutputMP3QualityLevel);
    EXPECT_EQ(vars.OutputMP3QualityLevelValue, 5);
    EXPECT_EQ(vars.OutputMP3ABRBitRate, 0);
    EXPECT_TRUE(vars.OutputMP3WriteXING);
    EXPECT_FALSE(vars.OutputMP3Checksum);
}

TEST(OGGSettingsSpecifyForm, EnablingAndQualityLabel) {
    for (bool abr : {false, true}) {
        SCOPED_TRACE(abr);
        TGlobalVars vars;
        vars.OutputOGGABR = abr;
        TOGGSettingsSpecifyForm d(vars);
        d.LoadFromSettings();
        d.show();
        EXPECT_EQ(d.windowTitle(), "Configure OGG Settings");
        EXPECT_EQ(Child<QLabel>(d, "LabelQuality")->text(), "60%");
        for (bool clickOther : {false, true}) {
            const bool average = abr != clickOther;
            if (clickOther) Child<QRadioButton>(d, average ? "RadioButtonAverage" : "RadioButtonVariable")->click();
            EXPECT_EQ(Enabled(d, "ComboBoxSetAverage"), average);
            for (const char* n : {"LabelLowQuality", "ImageSliderQuality", "LabelHighQuality", "LabelQuality"})
                EXPECT_EQ(Enabled(d, n), !average) << n;
        }
        auto* slider = Child<TImageSlider>(d, "ImageSliderQuality");
        EXPECT_EQ(slider->Min(), 1);
        EXPECT_EQ(slider->Max(), 100);
        EXPECT_TRUE(slider->SliderOptions() & TImageSlider::soSmooth);
        slider->SetValue(85);
        EXPECT_EQ(Child<QLabel>(d, "LabelQuality")->text(), "85%");
    }
}

TEST(OGGSettingsSpecifyForm, LoadAndStore) {
    TGlobalVars vars;
    vars.OutputOGGMode = 1;
    vars.OutputOGGABR = true;
    vars.OutputOGGABRBitRate = 6;
    vars.OutputOGGQualityValue = 33;
    TOGGSettingsSpecifyForm d(vars);
    d.LoadFromSettings();
    EXPECT_EQ(d.ModeItemIndex(), 1);
    EXPECT_EQ(Child<QGroupBox>(d, "GroupBoxMode")->title(), "Mode");
    EXPECT_TRUE(Child<QRadioButton>(d, "RadioButtonAverage")->isChecked());
    EXPECT_EQ(Child<QComboBox>(d, "ComboBoxSetAverage")->currentText(), "350 kbps");
    EXPECT_EQ(Child<TImageSlider>(d, "ImageSliderQuality")->Value(), 33);

    d.SetModeItemIndex(0);
    Child<QRadioButton>(d, "RadioButtonVariable")->click();
    Child<TImageSlider>(d, "ImageSliderQuality")->SetValue(100);
    Child<QComboBox>(d, "ComboBoxSetAverage")->setCurrentIndex(0);
    d.StoreToSettings();
    EXPECT_EQ(vars.OutputOGGMode, 0);
    EXPECT_FALSE(vars.OutputOGGABR);
    EXPECT_EQ(vars.OutputOGGQualityValue, 100);
    EXPECT_EQ(vars.OutputOGGABRBitRate, 0);

    // An unknown mode selects no item and is kept.
    vars.OutputOGGMode = 3;
    TOGGSettingsSpecifyForm d2(vars);
    d2.LoadFromSettings();
    EXPECT_EQ(d2.ModeItemIndex(), -1);
    d2.StoreToSettings();
    EXPECT_EQ(vars.OutputOGGMode, 3);
}

// ---- Pictures --------------------------------------------------------------

TEST(FormatDialogShots, OnePicturePerDialog) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    RenderFormatDialogShots(dir.path() + "/shots");
    for (const char* name : {"WaveFormatForm", "WaveFormatSpecifyForm", "Mp3FormatForm", "Mp3SettingsSpecifyForm",
                             "OGGFormatForm", "OGGSettingsSpecifyForm", "WMAFormatForm"}) {
        const QImage image(dir.path() + "/shots/format_" + name + ".png");
        EXPECT_FALSE(image.isNull()) << name;
        EXPECT_GT(image.width(), 200) << name;
        EXPECT_GT(image.height(), 100) << name;
    }
}

}  // namespace
