#include "WmaFormatForm.h"

#include "GlobalVars.h"
#include "OutputFormats.h"

TWMAFormatForm::TWMAFormatForm(TGlobalVars& vars, QWidget* parent)
    : TFormatSetupForm(vars, "WMAFormatForm", "WMA File Setup", kWmaPresetMax, false, "WMASettings", parent) {}

void TWMAFormatForm::LoadFromSettings() { LoadTypeAndPreset(0, vars_.OutputWMAPresets); }

void TWMAFormatForm::StoreToSettings() {
    vars_.OutputWMAPresets = static_cast<unsigned char>(ImageSliderPreset->Value());
}

bool TWMAFormatForm::PresetLabels(int position, QString* label1, QString* label2) const {
    const WmaPresetRow* row = WmaPresetAt(position);
    if (!row) return false;
    *label1 = QString::fromLatin1(row->Label1);
    *label2 = QString::fromLatin1(row->Label2);
    return true;
}
