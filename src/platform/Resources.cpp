#include "platform/Resources.h"

#include <QFile>

namespace quorvex::platform {

std::optional<std::string> LoadResource(const std::string& name, const std::string& type) {
    QFile resource(QString::fromStdString(":/" + type + "/" + name));
    if (!resource.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = resource.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace quorvex::platform
