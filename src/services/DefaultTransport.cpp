#include "platform/HttpsSession.h"
#include "services/HttpTransport.h"
#include "services/TranslationService.h"
#include "settings/Settings.h"
#include "translate/PumpSteps.h"
#include "translate/RequestLimit.h"

namespace quorvex::services {
namespace {

// The transport on the platform's HTTPS session. The session lives as long as the thread, so
// its connections serve every translation the thread asks for.
class SessionTransport final : public HttpTransport {
public:
    HttpReply Get(const std::string& url) override {
        return Run([&](const platform::StepWait& steps) { return session_.Get(url, {}, steps); });
    }

    HttpReply Post(const std::string& url, const std::string& contentType,
                   const std::string& body) override {
        return Run([&](const platform::StepWait& steps) {
            return session_.Post(url, contentType, body, {}, steps);
        });
    }

private:
    template <typename Request> HttpReply Run(const Request& request) {
        // Read for each request: the settings window may have changed it meanwhile.
        session_.SetProxy(settings::Value("Network/Proxy", nullptr));
        try {
            platform::HttpsReply reply = request(PumpSteps());
            return {reply.Status, std::move(reply.Body)};
        } catch (const platform::EHttpsFailure& failure) {
            throw ServiceFailure(failure.what());
        } catch (const ERequestTimedOut&) {
            throw ServiceFailure("等待回答超过了时限");
        }
    }

    platform::HttpsSession session_;
};

} // namespace

HttpTransport& DefaultTransport() {
    thread_local SessionTransport transport;
    return transport;
}

} // namespace quorvex::services
