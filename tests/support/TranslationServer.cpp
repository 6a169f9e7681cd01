#include "support/TranslationServer.h"

#include "platform/Exception.h"
#include "translate/ServiceHosts.h"

#include <cstdlib>

namespace quorvex::test_support {

ScriptedHttpServer& TranslationServer() {
    static ScriptedHttpServer server;
    static const bool pointed = [] {
        setenv("QUORVEX_TRANSLATE_HOST", server.Host().c_str(), 1);
        if (ServiceHosts().Translate != server.Host())
            throw Exception("the translation host was read before the test server existed");
        return true;
    }();
    (void)pointed;
    return server;
}

} // namespace quorvex::test_support
