#pragma once

#include "settingswindow/SettingFields.h"

#include <QWidget>

class QStackedWidget;

namespace quorvex::settingswindow {

class TOrderedChoiceList;

// "翻译服务": the services in the order they are asked, each switched on or off, and beside the
// list the chosen service's address and key fields.
class TServicesPage : public QWidget {
public:
    TServicesPage(const TSettingWriter& write, QWidget* parent);

    TOrderedChoiceList* Order;
    QStackedWidget* Details;
};

} // namespace quorvex::settingswindow
