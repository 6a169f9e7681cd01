#include "platform/gui/WebViewLoader.h"

#include "platform/Exception.h"
#include "quorvex/Version.h"

#include <QLibrary>

namespace quorvex::platform {

CreateWebViewFunction LoadWebViewModule(const QString& path) {
    QLibrary module(path);
    auto function = reinterpret_cast<CreateWebViewFunction>(module.resolve(kCreateWebViewSymbol));
    if (function == nullptr)
        throw Exception("网页面板无法加载它的模块（" + module.fileName().toStdString() + "）：" +
                        module.errorString().toStdString());
    const auto version =
        reinterpret_cast<WebViewVersionFunction>(module.resolve(kWebViewVersionSymbol));
    const std::string moduleVersion = version != nullptr ? version() : "未知";
    if (moduleVersion != kProgramVersion)
        throw Exception("网页面板的模块（" + module.fileName().toStdString() + "）版本为 " +
                        moduleVersion + "，程序版本为 " + kProgramVersion +
                        "，两者不配套；请重新安装或再次升级本程序。");
    return function;
}

} // namespace quorvex::platform
