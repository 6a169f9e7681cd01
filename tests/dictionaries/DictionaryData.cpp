#include "DictionaryData.h"

#include "platform/Exception.h"
#include "platform/Socket.h"
#include "platform/TcpListener.h"
#include "support/Files.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace quorvex::test_support {

std::string TestCedictPath() {
    const std::string path = std::string(QUORVEX_TEST_DATA) + "/cedict_ts.u8";
    if (!std::filesystem::exists(path))
        ADD_FAILURE() << path << " is missing: run scripts/setup";
    return path;
}

DictdFolder::DictdFolder() {
    // dictd reads the files after giving up root.
    std::filesystem::permissions(
        Path(), std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
}

void DictdFolder::Add(const std::string& name, const std::string& source, bool compressed) {
    const std::string base = Path() + "/" + name;
    WriteWholeFile(base + ".txt", source);
    RunCommand("dictfmt -j --utf8 --without-headword -s '" + name + " test' -u none '" + base +
               "' < '" + base + ".txt' >/dev/null 2>&1");
    if (compressed)
        RunCommand("dictzip '" + base + ".dict'");
}

int ClosedPort() {
    return platform::TcpListener().Port();
}

DictServer::DictServer(const DictdFolder& folder, const std::vector<std::string>& names)
    : port_(ClosedPort()) {
    std::string config;
    for (const std::string& name : names)
        config += "database " + name + " { data " + folder.Path() + "/" + name + ".dict.dz index " +
                  folder.Path() + "/" + name + ".index }\n";
    const std::string configPath = folder.Path() + "/dictd.conf";
    WriteWholeFile(configPath, config);
    // In the foreground dictd logs to its standard error: kept off the test's terminal.
    dictd_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"sh", "-c",
                                 "exec dictd -c '" + configPath + "' -p " + std::to_string(port_) +
                                     " --listen-to 127.0.0.1 -d nodetach --pid-file '" +
                                     folder.Path() + "/dictd.pid' 2>/dev/null"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        try {
            platform::Connect("127.0.0.1", static_cast<uint16_t>(port_), {},
                              platform::Milliseconds(1000));
            return;
        } catch (const Exception&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    throw Exception("dictd did not start listening");
}

} // namespace quorvex::test_support
