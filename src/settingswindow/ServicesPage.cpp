#include "settingswindow/ServicesPage.h"

#include "services/ServiceRegistry.h"
#include "settingswindow/OrderedChoiceList.h"
#include "settingswindow/ServiceTrial.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace quorvex::settingswindow {
namespace {

struct TField {
    const char* Key;
    const char* Label;
    const char* Placeholder;
    bool Secret;
};

struct TService {
    const char* Name;
    const char* Caption;
    const char* Note;
    std::vector<TField> Fields;
};

const std::vector<TService>& Services() {
    static const std::vector<TService> services{
        {"opencc",
         "OpenCC 简繁转换",
         "离线，只用于简体中文与繁体中文之间的转换，快速、准确、不联网。",
         {}},
        {"google",
         "谷歌翻译",
         "谷歌的公共网页接口（非官方），可能会暂时拒绝服务。在中国大陆请使用百度翻译或设置代理。",
         {{"Google/Url", "地址", "https://translate.googleapis.com", false}}},
        {"libretranslate",
         "LibreTranslate",
         "开源、可自行架设的翻译服务。没有默认地址；公共服务器需要密钥。",
         {{"LibreTranslate/Url", "地址", "例如 https://libretranslate.example.org", false},
          {"LibreTranslate/Key", "密钥", "可不填", true}}},
        {"baidu",
         "百度翻译",
         "百度翻译开放平台的通用翻译 API，在中国大陆可用。需要在平台申请的 APP ID 和密钥。",
         {{"Baidu/Url", "地址", "https://fanyi-api.baidu.com", false},
          {"Baidu/AppId", "APP ID", "", false},
          {"Baidu/Key", "密钥", "", true}}},
        {"apertium",
         "Apertium 英西翻译",
         "离线，只用于英语译成西班牙语；需要安装 apertium 和 apertium-eng-spa。",
         {}},
    };
    return services;
}

QWidget* DetailsPanel(const TService& service, const TSettingWriter& write, QWidget* parent) {
    auto* panel = new QWidget(parent);
    auto* layout = new QVBoxLayout(panel);
    auto* title = new QLabel("<b>" + QString::fromUtf8(service.Caption) + "</b>", panel);
    auto* note = new QLabel(QString::fromUtf8(service.Note), panel);
    note->setWordWrap(true);
    layout->addWidget(title);
    layout->addWidget(note);
    auto* form = new QFormLayout;
    for (const TField& field : service.Fields)
        form->addRow(QString::fromUtf8(field.Label),
                     SettingLineEdit(field.Key, QString::fromUtf8(field.Placeholder), field.Secret,
                                     write, panel));
    layout->addLayout(form);
    auto* trial = new QPushButton(QString::fromUtf8("测试"), panel);
    trial->setObjectName(QString("trial:") + service.Name);
    auto* outcome = new QLabel(panel);
    outcome->setObjectName(QString("outcome:") + service.Name);
    outcome->setWordWrap(true);
    outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The window may be closed while the service is asked (the wait handles events).
    QObject::connect(trial, &QPushButton::clicked, panel,
                     [name = std::string(service.Name), trial = QPointer<QPushButton>(trial),
                      outcome = QPointer<QLabel>(outcome)] {
                         trial->setEnabled(false);
                         outcome->setText(QString::fromUtf8("正在翻译“Hello”…"));
                         const QString result = TryService(name);
                         if (outcome.isNull())
                             return;
                         outcome->setText(result);
                         trial->setEnabled(true);
                     });
    layout->addWidget(trial, 0, Qt::AlignLeft);
    layout->addWidget(outcome);
    layout->addStretch();
    return panel;
}

} // namespace

TServicesPage::TServicesPage(const TSettingWriter& write, QWidget* parent)
    : QWidget(parent)
    , Details(new QStackedWidget(this)) {
    std::vector<TChoice> choices;
    for (const TService& service : Services()) {
        choices.push_back({service.Name, QString::fromUtf8(service.Caption)});
        Details->addWidget(DetailsPanel(service, write, Details));
    }
    Order = new TOrderedChoiceList("Services/Order", "QUORVEX_SERVICES", choices,
                                   services::ServiceNames(), write, this);
    Order->OnCurrentChanged = [this](const std::string& name) {
        for (std::size_t i = 0; i < Services().size(); ++i)
            if (Services()[i].Name == name)
                Details->setCurrentIndex(static_cast<int>(i));
    };
    Order->OnCurrentChanged(Order->CurrentName());

    auto* explanation = new QLabel(
        QString::fromUtf8("翻译时按顺序询问勾选的服务，第一个成功的结果显示在译文框中。"), this);
    explanation->setWordWrap(true);
    auto* columns = new QHBoxLayout;
    columns->addWidget(Order, 1);
    columns->addWidget(Details, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(columns);
}

} // namespace quorvex::settingswindow
