#include "settingswindow/OrderedChoiceList.h"

#include "settingswindow/CheckedSettings.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quorvex::settingswindow {
namespace {

inline constexpr int kNameRole = Qt::UserRole;

std::vector<std::string> Names(const std::vector<TChoice>& choices) {
    std::vector<std::string> names;
    for (const TChoice& choice : choices)
        names.push_back(choice.Name);
    return names;
}

} // namespace

TOrderedChoiceList::TOrderedChoiceList(const std::string& key, const char* environmentOverride,
                                       const std::vector<TChoice>& choices,
                                       const std::vector<std::string>& defaultOrder,
                                       TSettingWriter write, QWidget* parent)
    : QWidget(parent)
    , List(new QListWidget(this))
    , UpButton(new QPushButton(QString::fromUtf8("上移"), this))
    , DownButton(new QPushButton(QString::fromUtf8("下移"), this))
    , key_(key)
    , write_(std::move(write)) {
    List->setObjectName(QString::fromStdString(key));
    const std::vector<std::string> chosen =
        NamesSetting(key, environmentOverride, Names(choices), defaultOrder);
    for (const std::string& name : chosen)
        AddRow(*std::find_if(choices.begin(), choices.end(),
                             [&](const TChoice& choice) { return choice.Name == name; }),
               true);
    for (const TChoice& choice : choices)
        if (std::find(chosen.begin(), chosen.end(), choice.Name) == chosen.end())
            AddRow(choice, false);
    List->setCurrentRow(0);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(UpButton);
    buttons->addWidget(DownButton);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(List);
    layout->addLayout(buttons);

    connect(UpButton, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(DownButton, &QPushButton::clicked, this, [this] { Move(1); });
    connect(List, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { ItemSwitched(List->row(item)); });
    connect(List, &QListWidget::currentRowChanged, this, [this] {
        if (OnCurrentChanged)
            OnCurrentChanged(CurrentName());
    });
}

void TOrderedChoiceList::AddRow(const TChoice& choice, bool on) {
    auto* item = new QListWidgetItem(choice.Caption, List);
    item->setData(kNameRole, QString::fromStdString(choice.Name));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

std::vector<std::string> TOrderedChoiceList::Chosen() const {
    std::vector<std::string> names;
    for (int row = 0; row < List->count(); ++row)
        if (List->item(row)->checkState() == Qt::Checked)
            names.push_back(List->item(row)->data(kNameRole).toString().toStdString());
    return names;
}

std::string TOrderedChoiceList::CurrentName() const {
    const QListWidgetItem* item = List->currentItem();
    return item ? item->data(kNameRole).toString().toStdString() : std::string();
}

void TOrderedChoiceList::Move(int step) {
    const int row = List->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= List->count())
        return;
    List->insertItem(target, List->takeItem(row));
    List->setCurrentRow(target);
    Save();
}

void TOrderedChoiceList::ItemSwitched(int row) {
    if (Chosen().empty()) {
        const QSignalBlocker quiet(List);
        List->item(row)->setCheckState(Qt::Checked);
        return;
    }
    Save();
}

void TOrderedChoiceList::Save() {
    std::string list;
    for (const std::string& name : Chosen())
        list += (list.empty() ? "" : ",") + name;
    write_(key_, list);
}

} // namespace quorvex::settingswindow
