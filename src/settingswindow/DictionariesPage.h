#pragma once

#include "settingswindow/SettingFields.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace quorvex::settingswindow {

class TOrderedChoiceList;

// "词典": the dictionary sources in the order they are asked, the DICT server and database, and
// the CC-CEDICT file.
class TDictionariesPage : public QWidget {
public:
    TDictionariesPage(const TSettingWriter& write, QWidget* parent);

    TOrderedChoiceList* Order;
    QLineEdit* CedictFile;
    QPushButton* ChooseCedictFile;

private:
    void PickCedictFile();

    TSettingWriter write_;
};

} // namespace quorvex::settingswindow
