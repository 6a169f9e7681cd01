#pragma once

#include "support/ChildProcess.h"

#include <QTemporaryDir>
#include <memory>
#include <string>

namespace quorvex::test_support {

// The CC-CEDICT copy scripts/setup fetches for the tests.
std::string TestCedictPath();

// A folder holding small dictd databases that dictfmt makes from "headword:definition" texts
// (":cat:cat /kæt/\ngato\n"), compressed with dictzip unless asked for the plain .dict.
class DictdFolder {
public:
    DictdFolder();
    std::string Path() const { return folder_.path().toStdString(); }
    void Add(const std::string& name, const std::string& source, bool compressed = true);

private:
    QTemporaryDir folder_;
};

// Debian's dictd serving the databases `names` of `folder` on a free loopback port.
class DictServer {
public:
    DictServer(const DictdFolder& folder, const std::vector<std::string>& names);
    std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    int port_;
    std::unique_ptr<ChildProcess> dictd_;
};

// A loopback port where nothing listens.
int ClosedPort();

} // namespace quorvex::test_support
