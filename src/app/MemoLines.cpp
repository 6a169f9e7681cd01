#include "app/MemoLines.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace quorvex {

void TMemoLines::Clear() {
    memo_.clear();
}

void TMemoLines::Add(const std::string& line) {
    memo_.appendPlainText(QString::fromStdString(line));
}

std::string TMemoLines::Text() const {
    if (memo_.document()->isEmpty())
        return {};
    return memo_.toPlainText().toStdString() + "\n";
}

void TMemoLines::Explain(const std::string& reasons) {
    memo_.setToolTip(QString::fromStdString(reasons));
}

} // namespace quorvex
