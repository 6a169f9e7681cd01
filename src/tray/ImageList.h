#pragma once

#include <QIcon>
#include <QObject>
#include <vector>

namespace quorvex {

// A list of icons taken by index, as the tray icon cycles through them.
class TImageList : public QObject {
public:
    using QObject::QObject;

    std::vector<QIcon> Icons;
    int Count() const { return static_cast<int>(Icons.size()); }
};

} // namespace quorvex
