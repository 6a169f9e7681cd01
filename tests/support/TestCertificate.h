#pragma once

#include <filesystem>
#include <string>

namespace quorvex::test_support {

// A certificate authority of its own and a server certificate it signed for 127.0.0.1 and
// localhost, made by the openssl command in a fresh temporary folder that goes with the object.
// A client trusts the server when it trusts AuthorityFile() (SSL_CERT_FILE); a second
// TestCertificate's server is one it does not trust.
class TestCertificate {
public:
    TestCertificate();
    ~TestCertificate();
    TestCertificate(const TestCertificate&) = delete;
    TestCertificate& operator=(const TestCertificate&) = delete;

    // The authority's certificate (PEM).
    std::string AuthorityFile() const { return (folder_ / "authority.pem").string(); }
    // The server's certificate and private key (PEM), as a TLS server loads them.
    std::string CertificateFile() const { return (folder_ / "server.pem").string(); }
    std::string KeyFile() const { return (folder_ / "server.key").string(); }

private:
    std::filesystem::path folder_;
};

} // namespace quorvex::test_support
