#include "settingswindow/ServiceTrial.h"

#include "services/ServiceRegistry.h"

#include <exception>

namespace quorvex::settingswindow {
namespace {

inline constexpr const char* kTrialText = "Hello";

} // namespace

QString TryService(const std::string& name) {
    try {
        const auto service = services::CreateService(name);
        for (const TLanguagePair& pair : kLanguagePairs) {
            if (!service->Serves(pair))
                continue;
            if (!service->Configured())
                return QString::fromUtf8(
                           "未能翻译：%1 还没有设置好（缺少地址或密钥，或没有安装）。")
                    .arg(QString::fromStdString(service->DisplayName()));
            return QString::fromUtf8("“%1”（%2）→ “%3”")
                .arg(kTrialText, QString::fromUtf8(pair.Caption.data(), pair.Caption.size()),
                     QString::fromStdString(service->Translate(pair, kTrialText)));
        }
        return QString::fromUtf8("未能翻译：这个服务不支持窗口中的任何语言对。");
    } catch (const std::exception& failure) {
        return QString::fromUtf8("未能翻译：") + QString::fromStdString(failure.what());
    }
}

} // namespace quorvex::settingswindow
