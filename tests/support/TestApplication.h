#pragma once

#include <QCoreApplication>

namespace quorvex::test_support {

// A Qt core application for a test that needs an event loop; one at a time per process.
class TestApplication {
public:
    TestApplication()
        : application_(argc_, argv_) {}

    QCoreApplication& Get() { return application_; }

private:
    int argc_ = 1;
    char name_[5] = "test";
    char* argv_[2] = {name_, nullptr};
    QCoreApplication application_;
};

} // namespace quorvex::test_support
