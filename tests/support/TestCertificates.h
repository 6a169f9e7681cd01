#pragma once

#include <string>

namespace quorvex::test_support {

// Files of a test certificate authority and a server certificate it signed for 127.0.0.1 and
// localhost, made with the openssl command once per test process in a temporary folder.
struct TestCertificates {
    std::string AuthorityFile; // the authority's certificate: what SSL_CERT_FILE names to trust
    std::string CertificateFile;
    std::string KeyFile;
};

const TestCertificates& TestCertificateFiles();

} // namespace quorvex::test_support
