#include "platform/HostLookup.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace quorvex::platform {

// Shared by the caller and the lookup's thread, so that whichever ends last frees it.
struct HostLookup::Outcome {
    std::mutex Lock;
    std::condition_variable Done;
    bool Finished = false;
    std::vector<SocketAddress> Addresses;
    std::exception_ptr Failure;
};

HostLookup::HostLookup(const std::string& host, uint16_t port)
    : outcome_(std::make_shared<Outcome>()) {
    std::thread([outcome = outcome_, host, port] {
        std::vector<SocketAddress> addresses;
        std::exception_ptr failure;
        try {
            addresses = ResolveHost(host, port);
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(outcome->Lock);
        outcome->Addresses = std::move(addresses);
        outcome->Failure = failure;
        outcome->Finished = true;
        outcome->Done.notify_all();
    }).detach();
}

HostLookup::~HostLookup() = default;

bool HostLookup::Wait(Milliseconds wait) {
    std::unique_lock lock(outcome_->Lock);
    const auto finished = [this] { return outcome_->Finished; };
    if (wait < Milliseconds::zero()) {
        outcome_->Done.wait(lock, finished);
        return true;
    }
    return outcome_->Done.wait_for(lock, wait, finished);
}

std::vector<SocketAddress> HostLookup::Take() {
    Wait(kNoTimeout);
    const std::lock_guard lock(outcome_->Lock);
    if (outcome_->Failure)
        std::rethrow_exception(outcome_->Failure);
    return std::move(outcome_->Addresses);
}

} // namespace quorvex::platform
