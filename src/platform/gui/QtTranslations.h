#pragma once

class QCoreApplication;

namespace quorvex::platform {

// Puts Qt's own texts (the text boxes' context menus, standard buttons, the file picker, the web
// panel's menu) into Simplified Chinese, the program's language whatever the locale. Without
// Qt's translations installed (Debian's qt6-translations-l10n) they stay English, as one line on
// standard error says.
void UseChineseQtTexts(QCoreApplication& application);

} // namespace quorvex::platform
