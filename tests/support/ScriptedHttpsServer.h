#pragma once

#include "support/LoopbackHttpServer.h"

namespace quorvex::test_support {

// The TLS context of the test server certificate (trusted where SSL_CERT_FILE names
// TestCertificateFiles().AuthorityFile), made once per test process.
std::shared_ptr<const platform::TlsServerContext> TestTlsContext();

// A ScriptedHttpServer spoken over HTTPS with the test certificate; every connection it
// accepts costs one TLS handshake.
class ScriptedHttpsServer : public ScriptedHttpServer {
public:
    ScriptedHttpsServer()
        : ScriptedHttpServer(TestTlsContext()) {}
};

} // namespace quorvex::test_support
