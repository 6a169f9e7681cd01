#pragma once

#include "settingswindow/SettingFields.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace quorvex::settingswindow {

struct TChoice {
    std::string Name; // as the settings file has it
    QString Caption;  // as a person reads it
};

// The services or dictionary sources in the order they are asked, each switched on or off; the
// switched-on ones are written, in order, as the comma-separated list under `key`. The last one
// switched on cannot be switched off: an empty list would bring the default order back.
class TOrderedChoiceList : public QWidget {
public:
    TOrderedChoiceList(const std::string& key, const char* environmentOverride,
                       const std::vector<TChoice>& choices,
                       const std::vector<std::string>& defaultOrder, TSettingWriter write,
                       QWidget* parent);

    // The names switched on, in order.
    std::vector<std::string> Chosen() const;

    // The name of the current row.
    std::string CurrentName() const;
    std::function<void(const std::string& name)> OnCurrentChanged;

    QListWidget* List;
    QPushButton* UpButton;
    QPushButton* DownButton;

private:
    void AddRow(const TChoice& choice, bool on);
    void Move(int step);
    void ItemSwitched(int row);
    void Save();

    std::string key_;
    TSettingWriter write_;
};

} // namespace quorvex::settingswindow
