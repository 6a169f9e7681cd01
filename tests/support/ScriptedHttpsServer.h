#pragma once

#include "support/LoopbackHttpServer.h"
#include "support/TestCertificates.h"
#include "support/TlsFront.h"

namespace quorvex::test_support {

// A ScriptedHttpServer reached over HTTPS with the test certificate (trusted where
// SSL_CERT_FILE names TestCertificateFiles().AuthorityFile).
class ScriptedHttpsServer : public ScriptedHttpServer {
public:
    ScriptedHttpsServer()
        : front_(Port(), TestCertificateFiles().CertificateFile, TestCertificateFiles().KeyFile) {}

    // "https://127.0.0.1:<port>" followed by `target`.
    std::string SecureUrl(std::string_view target) const {
        return "https://127.0.0.1:" + std::to_string(front_.Port()) + std::string(target);
    }
    size_t Handshakes() const { return front_.Handshakes(); }

private:
    TlsFront front_;
};

} // namespace quorvex::test_support
