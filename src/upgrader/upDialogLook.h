#pragma once

#include <QFont>
#include <QPixmap>
#include <QRect>
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

// The two small dialogs: the icon at the top left, beside it a word-wrapping text, below it
// a panel along the bottom edge that holds everything else.
QLabel* CreateMessageIcon(QWidget* parent);
QLabel* CreateMessageLabel(QWidget* parent);
// Puts `text` into the label, which ends `rightMargin` from the dialog's right edge, and makes
// the dialog exactly as high as the wrapped text and the bottom panel.
void FitToMessage(QDialog& dialog, QLabel& label, const QString& text, int rightMargin,
                  QWidget& bottomPanel, int panelHeight);
QPushButton* CreateButton(QWidget* parent, QRect geometry);

inline QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace quorvex
