#pragma once

namespace quorvex {

class TForm1;

// "记住窗口": while Window/Remember is on (the default), the window's language pair, 置顶, its
// transparency, the web panel's height and its place are written when the program ends and
// restored at the next start. A first start, with none of them in the file, looks exactly as
// the window's layout has it; a bad value is ignored (see CheckedSettings).
class TWindowMemory {
public:
    explicit TWindowMemory(TForm1& form);

    // Puts the remembered state on the window, before it is first shown.
    void Restore();
    // Writes the window's state (a failure goes to standard error: the program is ending).
    void Save();

private:
    TForm1& form_;
};

} // namespace quorvex
