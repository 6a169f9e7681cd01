#include "services/ApertiumService.h"

#include "platform/FileReplace.h"
#include "platform/PipedProgram.h"
#include "translate/PumpSteps.h"
#include "translate/RequestLimit.h"

namespace quorvex::services {
namespace {

constexpr std::string_view kPairCode = "en|es";
constexpr const char* kMode = "eng-spa";
// Where apertium-eng-spa installs the mode apertium runs.
constexpr const char* kModeFile = "/usr/share/apertium/modes/eng-spa.mode";

// The first line of what the program said on its standard error.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

} // namespace

bool ApertiumService::Serves(const TLanguagePair& pair) const {
    return pair.Code == kPairCode;
}

bool ApertiumService::Configured() const {
    return platform::FindProgram("apertium").has_value() && platform::FileExists(kModeFile);
}

std::string ApertiumService::Translate(const TLanguagePair& pair, const std::string& text) {
    if (!Serves(pair))
        throw ServiceFailure("只翻译英语到西班牙语");
    const std::optional<std::string> program = platform::FindProgram("apertium");
    if (!program || !platform::FileExists(kModeFile))
        throw ServiceFailure("没有安装 apertium 和 apertium-eng-spa");
    platform::ProgramOutcome outcome;
    try {
        // -u: unknown words come out as they are, without Apertium's "*" in front.
        outcome = platform::RunProgram(*program, {"apertium", "-u", kMode}, text, kApertiumLimit,
                                       PumpSteps());
    } catch (const ERequestAbandoned&) {
        throw; // the window is closing: nobody waits for a reason
    } catch (const ERequestTimedOut&) {
        throw ServiceFailure("等待 Apertium 超过了时限");
    } catch (const Exception& failure) {
        throw ServiceFailure(std::string("Apertium 无法运行：") + failure.what());
    }
    if (outcome.ExitStatus != 0)
        throw ServiceFailure("Apertium 出错（退出状态 " + std::to_string(outcome.ExitStatus) +
                             "）：" + FirstLine(outcome.ErrorOutput));
    return outcome.Output;
}

} // namespace quorvex::services
