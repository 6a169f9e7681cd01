#pragma once

#include "upgrader/upLanguages.h"

#include <string>

namespace quorvex {

// How the download wizard looks, and the language of every upgrader text.
class TupWizardOptions {
public:
    bool Enabled = true;
    bool HideFileLocation = false;
    bool StayOnTop = true;
    // The encoded bytes of a picture (PNG, JPEG, BMP...) for the side panel, 118 x 218
    // pixels; empty keeps the built-in picture.
    std::string SidePicture;

    // The language is one setting for the whole process: every controller reads and changes
    // the same.
    TupLanguage Language() const { return UpgraderLanguage(); }
    void SetLanguage(TupLanguage Value) { SetUpgraderLanguage(Value); }
};

} // namespace quorvex
