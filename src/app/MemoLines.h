#pragma once

#include "translate/Strings.h"

class QPlainTextEdit;

namespace quorvex {

// The lines of a text box, for routines that write their result as lines.
class TMemoLines final : public TStrings {
public:
    explicit TMemoLines(QPlainTextEdit& memo)
        : memo_(memo) {}
    void Clear() override;
    void Add(const std::string& line) override;
    std::string Text() const override;
    void Explain(const std::string& reasons) override;

private:
    QPlainTextEdit& memo_;
};

} // namespace quorvex
