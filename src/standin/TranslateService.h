#pragma once

#include "standin/Router.h"

namespace quorvex {

// Serves POST /translate_t like the translation service: the form's `langpair` and `text` in,
// a UTF-8 page with the translation between the result markers out.
void AddTranslateService(TRouter& router);

// The reply page for `langpair` and `text`; raises EBadRequest for a pair that is no pair.
std::string TranslationPage(const std::string& langpair, const std::string& text);

} // namespace quorvex
