#pragma once
// "WMA File Setup": the preset slider only.
#include "FormatSetupForm.h"

struct TGlobalVars;

class TWMAFormatForm : public TFormatSetupForm {
    Q_OBJECT
public:
    explicit TWMAFormatForm(TGlobalVars& vars, QWidget* parent = nullptr);
    void LoadFromSettings() override;
    void StoreToSettings() override;

protected:
    bool PresetLabels(int position, QString* label1, QString* label2) const override;
};
