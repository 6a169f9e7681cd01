#include "app/WindowMemory.h"

#include "app/Unit1.h"
#include "platform/gui/WebBrowser.h"
#include "settings/Settings.h"
#include "settingswindow/CheckedSettings.h"
#include "settingswindow/GeneralPage.h"
#include "translate/LanguagePairs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>
#include <exception>
#include <iostream>

namespace quorvex {
namespace {

using settingswindow::BooleanSetting;
using settingswindow::IntegerSetting;

inline constexpr const char* kPairKey = "Window/Pair";
inline constexpr const char* kStayOnTopKey = "Window/StayOnTop";
inline constexpr const char* kTransparencyKey = "Window/Transparency";
inline constexpr const char* kPanelHeightKey = "Window/PanelHeight";
inline constexpr const char* kLeftKey = "Window/Left";
inline constexpr const char* kTopKey = "Window/Top";
inline constexpr int kMaxPanelHeight = 2000;
inline constexpr int kMaxCoordinate = 100000;

bool Remembering() {
    return BooleanSetting(settingswindow::kRememberWindowKey).value_or(true);
}

void RestorePair(QComboBox& pairs) {
    const std::string code = settings::Value(kPairKey, nullptr);
    if (code.empty())
        return;
    for (int row = 0; row < pairs.count(); ++row)
        if (LanguageCodeForCaption(pairs.itemText(row).toStdString()) == code)
            return pairs.setCurrentIndex(row);
    settingswindow::ReportIgnoredSetting(kPairKey, code, "not a language pair of the window");
}

void RestorePanelHeight(TForm1& form, int height) {
    form.Panel1->resize(form.Panel1->width(), height);
    QWidget& view = form.WebBrowser1->Widget();
    view.resize(view.width(), height);
    form.SpeedButtonDownClick();
}

// A place is taken only when some screen still shows it (a monitor may have gone).
void RestorePlace(TForm1& form, int left, int top) {
    if (QGuiApplication::screenAt(QPoint(left, top)) != nullptr)
        form.move(left, top);
}

void Write(const std::string& key, int value) {
    settings::Write(key, std::to_string(value));
}

} // namespace

TWindowMemory::TWindowMemory(TForm1& form)
    : form_(form) {}

void TWindowMemory::Restore() {
    if (!Remembering())
        return;
    RestorePair(*form_.ComboBox1);
    if (const auto stayOnTop = BooleanSetting(kStayOnTopKey)) {
        form_.CheckBox1->setChecked(*stayOnTop);
        form_.setWindowFlag(Qt::WindowStaysOnTopHint, *stayOnTop);
    }
    if (const auto transparency = IntegerSetting(kTransparencyKey, form_.TrackBar1->minimum(),
                                                 form_.TrackBar1->maximum()))
        form_.TrackBar1->setValue(*transparency);
    if (const auto height = IntegerSetting(kPanelHeightKey, 0, kMaxPanelHeight))
        RestorePanelHeight(form_, *height);
    const auto left = IntegerSetting(kLeftKey, -kMaxCoordinate, kMaxCoordinate);
    const auto top = IntegerSetting(kTopKey, 0, kMaxCoordinate);
    if (left && top)
        RestorePlace(form_, *left, *top);
}

void TWindowMemory::Save() {
    if (!Remembering())
        return;
    try {
        settings::Write(kPairKey,
                        LanguageCodeForCaption(form_.ComboBox1->currentText().toStdString()));
        settings::Write(kStayOnTopKey, form_.CheckBox1->isChecked() ? "true" : "false");
        Write(kTransparencyKey, form_.TrackBar1->value());
        Write(kPanelHeightKey, form_.Panel1->height());
        // A window slid up out of sight comes back docked at the top edge.
        Write(kLeftKey, form_.frameGeometry().left());
        Write(kTopKey, std::max(form_.frameGeometry().top(), 0));
    } catch (const std::exception& failure) {
        std::cerr << "Quorvex: the window's place is not remembered: " << failure.what() << '\n';
    }
}

} // namespace quorvex
