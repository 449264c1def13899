#pragma once

#include "app/form/setting_values.h"

namespace glidtavla {

// Word prediction as the user set it.
struct PredictionSettings {
    bool On = true;
    bool Learn = true;
    int Pointer = 0;  // mouse, trackball, head mouse
    bool Column = false;
    bool SpaceAfterSigns = true;
    bool LargerModel = true;
    friend bool operator==(const PredictionSettings&, const PredictionSettings&) = default;

    static PredictionSettings Read(const SettingValues& values) {
        PredictionSettings read;
        read.On = values.Flag("prediction/on", true);
        read.Learn = values.Flag("prediction/learn", true);
        read.Pointer = values.Number("prediction/pointer", 0, 2).value_or(0);
        read.Column = values.Flag("prediction/column", false);
        read.SpaceAfterSigns = values.Flag("prediction/spaceAfterSigns", true);
        read.LargerModel = values.Flag("prediction/largerModel", true);
        return read;
    }
    void Write(SettingValues& values) const {
        values.Set("prediction/on", On);
        values.Set("prediction/learn", Learn);
        values.Set("prediction/pointer", Pointer);
        values.Set("prediction/column", Column);
        values.Set("prediction/spaceAfterSigns", SpaceAfterSigns);
        values.Set("prediction/largerModel", LargerModel);
    }
};

}  // namespace glidtavla
