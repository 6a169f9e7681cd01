#pragma once

#include <QFont>

namespace quorvex::platform {

// The font of the program's windows and dialogs.
inline constexpr const char* kWindowFontFamily = "MS Sans Serif";

// `family` at `pixelHeight` pixels, falling back on a font that holds the Chinese glyphs where
// `family` is missing or lacks them (the Windows fonts are rarely installed here).
QFont FontWithChineseGlyphs(const char* family, int pixelHeight, bool bold = false);

// The window font at `pixelHeight` pixels.
inline QFont WindowFont(int pixelHeight, bool bold = false) {
    return FontWithChineseGlyphs(kWindowFontFamily, pixelHeight, bold);
}

} // namespace quorvex::platform
