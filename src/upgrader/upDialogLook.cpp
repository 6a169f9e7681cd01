#include "upgrader/upDialogLook.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

// The pictures live in a static library: their resources are registered by name before use.
static void InitUpgraderImageResources() {
    Q_INIT_RESOURCE(upgrader_images);
}

namespace quorvex {
namespace {

inline constexpr const char* kWindowFontFamily = "MS Sans Serif";
inline constexpr const char* kTitleFontFamily = "Times New Roman";
// Stands in where the Windows fonts are missing, and holds the Chinese glyphs.
inline constexpr const char* kChineseFontFamily = "WenQuanYi Micro Hei";
inline constexpr int kTitlePixelHeight = 19;

QPixmap LoadImage(const char* path) {
    InitUpgraderImageResources();
    return QPixmap(QString::fromLatin1(path));
}

} // namespace

QFont DialogFont(int pixelHeight) {
    QFont font;
    font.setFamilies({kWindowFontFamily, kChineseFontFamily});
    font.setPixelSize(pixelHeight);
    return font;
}

QFont WizardTitleFont() {
    QFont font;
    font.setFamilies({kTitleFontFamily, kChineseFontFamily});
    font.setPixelSize(kTitlePixelHeight);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QPixmap UpgraderIcon() {
    return LoadImage(":/upgrader/UpgraderIcon.png");
}

QPixmap BuiltInSidePicture() {
    return LoadImage(":/upgrader/WizardSide.png");
}

void SetUpDialogFrame(QDialog& dialog, int clientWidth, int clientHeight) {
    dialog.setFont(DialogFont());
    dialog.setWindowIcon(UpgraderIcon());
    dialog.setFixedSize(clientWidth, clientHeight);
    dialog.setSizeGripEnabled(false);
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    window.move(area.center() - QPoint(window.width() / 2, window.height() / 2));
}

std::string ApplicationTitle() {
    return QCoreApplication::applicationName().toStdString();
}

QLabel* CreateLabel(QWidget* parent, int left, int top) {
    auto* label = new QLabel(parent);
    label->move(left, top);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* CreateButton(QWidget* parent, int left, int top, int width, int height) {
    auto* button = new QPushButton(parent);
    button->setGeometry(left, top, width, height);
    return button;
}

} // namespace quorvex
