#include "support/TemporaryFolder.h"

#include "platform/Exception.h"

#include <cstdlib>
#include <utility>

namespace quorvex::test_support {

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw Exception("cannot make a temporary folder " + pattern);
    path_ = pattern;
}

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept
    : path_(std::exchange(other.path_, {})) {}

TemporaryFolder::~TemporaryFolder() {
    if (path_.empty())
        return;
    std::error_code ignored; // a folder left behind is no failure of the test that used it
    std::filesystem::remove_all(path_, ignored);
}

} // namespace quorvex::test_support
