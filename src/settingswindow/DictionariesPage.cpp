#include "settingswindow/DictionariesPage.h"

#include "settingswindow/OrderedChoiceList.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvex::settingswindow {
namespace {

inline constexpr const char* kCedictFileKey = "Dictionary/Cedict";

const std::vector<TChoice>& Sources() {
    static const std::vector<TChoice> sources{
        {"cedict", QString::fromUtf8("CC-CEDICT 汉英词典（离线）")},
        {"freedict", QString::fromUtf8("FreeDict 词典（离线）")},
        {"google", QString::fromUtf8("谷歌词典")},
        {"dict", QString::fromUtf8("DICT 词典服务器")},
    };
    return sources;
}

} // namespace

TDictionariesPage::TDictionariesPage(const TSettingWriter& write, QWidget* parent)
    : QWidget(parent)
    , Order(new TOrderedChoiceList("Dictionary/Order", "QUORVEX_DICTIONARIES", Sources(),
                                   {"cedict", "freedict", "google", "dict"}, write, this))
    , CedictFile(SettingLineEdit(kCedictFileKey, QString::fromUtf8("留空：使用随程序安装的文件"),
                                 false, write, this))
    , ChooseCedictFile(new QPushButton(QString::fromUtf8("选择…"), this))
    , write_(write) {
    auto* explanation = new QLabel(
        QString::fromUtf8("查词时按顺序询问勾选的词典，第一个找到的解释显示在网页面板中。"), this);
    explanation->setWordWrap(true);
    auto* cedictRow = new QHBoxLayout;
    cedictRow->addWidget(CedictFile);
    cedictRow->addWidget(ChooseCedictFile);
    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8("DICT 服务器"),
                 SettingLineEdit("Dictionary/DictServer",
                                 QString::fromUtf8("例如 dict.org 或 主机:2628；留空：不使用"),
                                 false, write, this));
    form->addRow(QString::fromUtf8("DICT 数据库"),
                 SettingLineEdit("Dictionary/DictDatabase",
                                 QString::fromUtf8("留空：第一个收有该词的数据库"), false, write,
                                 this));
    form->addRow(QString::fromUtf8("CC-CEDICT 文件"), cedictRow);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(Order);
    layout->addLayout(form);
    connect(ChooseCedictFile, &QPushButton::clicked, this, &TDictionariesPage::PickCedictFile);
}

void TDictionariesPage::PickCedictFile() {
    // Qt's own picker, in Chinese like the rest of the window, whatever the desktop offers.
    const QString file = QFileDialog::getOpenFileName(
        this, QString::fromUtf8("选择 CC-CEDICT 文件"), CedictFile->text(),
        QString::fromUtf8("CC-CEDICT 词典 (*.u8 *.txt);;所有文件 (*)"), nullptr,
        QFileDialog::DontUseNativeDialog);
    if (file.isEmpty())
        return;
    CedictFile->setText(file);
    write_(kCedictFileKey, file.toStdString());
}

} // namespace quorvex::settingswindow
