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

} // namespace quorvex
