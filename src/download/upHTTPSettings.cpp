#include "download/upHTTPSettings.h"

namespace quorvex {

void TupOutputFileAttributes::SetComplete(const TupFileAttributes& Value) {
    if (Value == complete_)
        return;
    complete_ = Value;
    Changed();
}

void TupOutputFileAttributes::SetIncomplete(const TupFileAttributes& Value) {
    if (Value == incomplete_)
        return;
    incomplete_ = Value;
    Changed();
}

void TupOutputFileAttributes::Assign(const TupOutputFileAttributes& Source) {
    SetComplete(Source.complete_);
    SetIncomplete(Source.incomplete_);
}

void TupOutputFileAttributes::Reset() {
    Assign(TupOutputFileAttributes{});
}

void TupOutputFileAttributes::Changed() {
    if (OnChange)
        OnChange(*this);
}

} // namespace quorvex
