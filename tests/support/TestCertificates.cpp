#include "support/TestCertificates.h"

#include "platform/Exception.h"
#include "support/Files.h"
#include "support/TemporaryFolder.h"

#include <cstdlib>

namespace quorvex::test_support {
namespace {

constexpr const char* kNewKey = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";

void Run(const std::string& commandLine) {
    if (std::system((commandLine + " >/dev/null 2>&1").c_str()) != 0)
        throw Exception("cannot make the test certificates: " + commandLine);
}

TestCertificates MakeCertificates() {
    // Removed when the test process ends.
    static const TemporaryFolder made("quorvex-certificates");
    const std::string folder = made.Path().string() + "/";
    const TestCertificates files{folder + "authority.pem", folder + "server.pem",
                                 folder + "server.key"};
    WriteWholeFile(folder + "names.ext", "subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    Run(std::string("openssl req -x509 ") + kNewKey + " -days 2 -subj '/CN=Quorvex Test CA'" +
        " -keyout " + folder + "authority.key -out " + files.AuthorityFile);
    Run(std::string("openssl req ") + kNewKey + " -subj /CN=127.0.0.1 -keyout " + files.KeyFile +
        " -out " + folder + "server.csr");
    Run("openssl x509 -req -days 2 -in " + folder + "server.csr -CA " + files.AuthorityFile +
        " -CAkey " + folder + "authority.key -CAcreateserial -extfile " + folder +
        "names.ext -out " + files.CertificateFile);
    return files;
}

} // namespace

const TestCertificates& TestCertificateFiles() {
    static const TestCertificates files = MakeCertificates();
    return files;
}

} // namespace quorvex::test_support
