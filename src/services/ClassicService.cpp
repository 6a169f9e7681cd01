#include "services/ClassicService.h"

#include "translate/TranslateText.h"

namespace quorvex::services {

std::string ClassicService::Translate(const TLanguagePair& pair, const std::string& text) {
    TStringList result;
    TranslateText(std::string(pair.Caption), text, result);
    // The request keeps no reason of its own: every failure of it ends as the line "Error".
    if (result.Lines().empty() || result.Lines().back() == kErrorLine)
        throw ServiceFailure("没有得到译文");
    return result.Lines().front();
}

} // namespace quorvex::services
