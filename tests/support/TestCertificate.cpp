#include "support/TestCertificate.h"

#include "platform/Exception.h"
#include "support/ChildProcess.h"

#include <chrono>
#include <cstdlib>
#include <vector>

namespace quorvex::test_support {
namespace {

inline constexpr std::chrono::seconds kOpensslLimit{60};

// The arguments of `openssl req` that make a fresh P-256 key and a two-day certificate.
std::vector<std::string> NewCertificate(const std::string& subject, const std::string& key,
                                        const std::string& certificate) {
    return {"openssl",
            "req",
            "-x509",
            "-newkey",
            "ec",
            "-pkeyopt",
            "ec_paramgen_curve:prime256v1",
            "-nodes",
            "-keyout",
            key,
            "-out",
            certificate,
            "-days",
            "2",
            "-subj",
            subject};
}

void RunOpenssl(std::vector<std::string> arguments, const std::vector<std::string>& extensions) {
    for (const std::string& extension : extensions) {
        arguments.push_back("-addext");
        arguments.push_back(extension);
    }
    ChildProcess openssl(arguments);
    if (openssl.WaitForExit(kOpensslLimit) != 0)
        throw Exception("openssl could not make a test certificate (" + arguments.back() + ")");
}

} // namespace

TestCertificate::TestCertificate() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quorvex-certificate-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw Exception("cannot create a folder for a test certificate");
    folder_ = pattern;
    const std::string authorityKey = (folder_ / "authority.key").string();
    RunOpenssl(NewCertificate("/CN=Quorvex test authority", authorityKey, AuthorityFile()),
               {"basicConstraints=critical,CA:TRUE", "keyUsage=critical,keyCertSign,cRLSign"});
    std::vector<std::string> server = NewCertificate("/CN=localhost", KeyFile(), CertificateFile());
    server.insert(server.end(), {"-CA", AuthorityFile(), "-CAkey", authorityKey});
    RunOpenssl(server, {"subjectAltName=IP:127.0.0.1,DNS:localhost", "basicConstraints=CA:FALSE",
                        "extendedKeyUsage=serverAuth"});
}

TestCertificate::~TestCertificate() {
    std::error_code ignored; // a folder left in /tmp is no reason to fail a test
    std::filesystem::remove_all(folder_, ignored);
}

} // namespace quorvex::test_support
