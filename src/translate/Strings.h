#pragma once

#include <string>
#include <vector>

namespace quorvex {

// The lines of a text box. The main window's result box implements it; TStringList keeps
// lines in memory for the command-line tool and the tests.
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual void Clear() = 0;
    virtual void Add(const std::string& line) = 0;
    // The lines, each followed by a line break.
    virtual std::string Text() const = 0;
    // Why the lines end with "Error" (empty: nothing to explain), for a person; the result box
    // shows it as its tool tip.
    virtual void Explain(const std::string& reasons) = 0;
};

class TStringList : public TStrings {
public:
    void Clear() override { lines_.clear(); }
    void Add(const std::string& line) override { lines_.push_back(line); }
    std::string Text() const override;
    void Explain(const std::string& reasons) override { explanation_ = reasons; }

    const std::vector<std::string>& Lines() const { return lines_; }
    const std::string& Explanation() const { return explanation_; }

private:
    std::vector<std::string> lines_;
    std::string explanation_;
};

} // namespace quorvex
