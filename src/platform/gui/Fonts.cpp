#include "platform/gui/Fonts.h"

#include <QStringList>

namespace quorvex::platform {

namespace {

inline constexpr const char* kChineseFontFamily = "WenQuanYi Micro Hei";

} // namespace

QFont FontWithChineseGlyphs(const char* family, int pixelHeight, bool bold) {
    QFont font;
    font.setFamilies({family, kChineseFontFamily});
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace quorvex::platform
