#include "support/TestCertificates.h"

#include "platform/Exception.h"
#include "support/Files.h"

#include <cstdlib>
#include <filesystem>

namespace quorvex::test_support {
namespace {

constexpr const char* kNewKey = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";

void Run(const std::string& commandLine) {
    if (std::system((commandLine + " >/dev/null 2>&1").c_str()) != 0)
        throw Exception("cannot make the test certificates: " + commandLine);
}

// The folder the files are made in, removed when the test process ends.
struct CertificateFolder {
    CertificateFolder() {
        Path = (std::filesystem::temp_directory_path() / "quorvex-certificates-XXXXXX").string();
        if (mkdtemp(Path.data()) == nullptr)
            throw Exception("cannot make a folder for the test certificates");
    }
    ~CertificateFolder() {
        std::error_code ignored; // a folder left behind is no failure of the tests that ran
        std::filesystem::remove_all(Path, ignored);
    }
    std::string Path;
};

TestCertificates MakeCertificates() {
    static const CertificateFolder made;
    const std::string folder = made.Path + "/";
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
