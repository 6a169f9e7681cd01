#include "upgrader/upDialogLook.h"

#include "platform/gui/Fonts.h"
#include "upgrader/upResources.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace quorvex {
namespace {

inline constexpr const char* kTitleFontFamily = "Times New Roman";
inline constexpr int kTitlePixelHeight = 19;
inline constexpr QRect kMessageIcon{7, 5, 32, 32};
inline constexpr QPoint kMessageLabel{45, 5};

QPixmap LoadImage(const char* path) {
    InitUpgraderResources();
    return QPixmap(QString::fromLatin1(path));
}

} // namespace

QFont DialogFont(int pixelHeight) {
    return platform::WindowFont(pixelHeight);
}

QFont WizardTitleFont() {
    QFont font = platform::FontWithChineseGlyphs(kTitleFontFamily, kTitlePixelHeight, true);
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

QLabel* CreateMessageIcon(QWidget* parent) {
    auto* icon = new QLabel(parent);
    icon->setGeometry(kMessageIcon);
    icon->setPixmap(UpgraderIcon());
    return icon;
}

QLabel* CreateMessageLabel(QWidget* parent) {
    QLabel* label = CreateLabel(parent, kMessageLabel.x(), kMessageLabel.y());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void FitToMessage(QDialog& dialog, QLabel& label, const QString& text, int rightMargin,
                  QWidget& bottomPanel, int panelHeight) {
    const int width = dialog.width();
    const int labelWidth = width - kMessageLabel.x() - rightMargin;
    label.setText(text);
    const int labelHeight = label.heightForWidth(labelWidth);
    label.resize(labelWidth, labelHeight);
    const int height = kMessageLabel.y() + labelHeight + panelHeight;
    dialog.setFixedSize(width, height);
    bottomPanel.setGeometry(0, height - panelHeight, width, panelHeight);
}

QPushButton* CreateButton(QWidget* parent, QRect geometry) {
    auto* button = new QPushButton(parent);
    button->setGeometry(geometry);
    return button;
}

} // namespace quorvex
