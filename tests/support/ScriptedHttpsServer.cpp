#include "support/ScriptedHttpsServer.h"

#include "support/TestCertificates.h"

namespace quorvex::test_support {

std::shared_ptr<const platform::TlsServerContext> TestTlsContext() {
    static const auto context = std::make_shared<const platform::TlsServerContext>(
        TestCertificateFiles().CertificateFile, TestCertificateFiles().KeyFile);
    return context;
}

} // namespace quorvex::test_support
