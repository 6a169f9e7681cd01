#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>
#include <string>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace quorvex {

// The font of the upgrader's dialogs, the main window's: it holds the Chinese glyphs too.
QFont DialogFont(int pixelHeight = 11);
// The wizard's title font.
QFont WizardTitleFont();

// The built-in pictures: the icon of the small dialogs and the wizard's side picture.
QPixmap UpgraderIcon();
QPixmap BuiltInSidePicture();

// A fixed-size dialog with this client area, the upgrader's font and icon.
void SetUpDialogFrame(QDialog& dialog, int clientWidth, int clientHeight);
void CentreOnScreen(QWidget& window);

// The application's title as the texts name the program.
std::string ApplicationTitle();

QLabel* CreateLabel(QWidget* parent, int left, int top);
QPushButton* CreateButton(QWidget* parent, int left, int top, int width, int height);

inline QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace quorvex
