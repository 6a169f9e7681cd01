#include "app/MemoLines.h"

#include <QPlainTextEdit>

namespace quorvex {

void TMemoLines::Clear() {
    memo_.clear();
}

void TMemoLines::Add(const std::string& line) {
    memo_.appendPlainText(QString::fromStdString(line));
}

std::string TMemoLines::Text() const {
    return memo_.toPlainText().toStdString();
}

} // namespace quorvex
