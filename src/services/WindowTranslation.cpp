#include "services/WindowTranslation.h"

#include "platform/Environment.h"
#include "services/ServiceChain.h"
#include "translate/LanguagePairs.h"
#include "translate/MessagePump.h"
#include "translate/RequestLimit.h"
#include "translate/TranslateText.h"

namespace quorvex::services {

bool ClassicServiceOnly() {
    return !platform::EnvironmentOr("QUORVEX_TRANSLATE_HOST").empty();
}

void TranslateThroughServices(const std::string& pairCaption, const std::string& sourceText,
                              TStrings& resultLines) {
    if (ClassicServiceOnly()) {
        TranslateText(pairCaption, sourceText, resultLines);
        return;
    }
    std::string reasons;
    try {
        const TLanguagePair* pair = PairForCaption(pairCaption);
        if (pair == nullptr)
            throw ServiceFailure("“" + pairCaption + "”不是列表中的语言对");
        TMessagePump pump; // the window answers while a service waits for its reply
        pump.OnlyWhenIdle = false;
        std::string translation = ChainFromSettings().Translate(*pair, sourceText);
        resultLines.Clear();
        resultLines.Add(translation);
    } catch (const ServiceFailure& failure) {
        reasons = failure.what();
        resultLines.Add(std::string(kErrorLine));
    } catch (const ERequestAbandoned&) {
        return; // the window is closing: nothing more is shown
    }
    resultLines.Explain(reasons);
}

} // namespace quorvex::services
