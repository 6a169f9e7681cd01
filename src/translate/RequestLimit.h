#pragma once

#include "platform/SocketErrors.h"

#include <chrono>

namespace quorvex {

// A request that waited longer than the limit put on it. It reads as the socket time-out, so
// the dictionary lookup's message box names the platform's own text for it.
class ERequestTimedOut : public platform::ESocketError {
public:
    ERequestTimedOut();
};

// A request given up because the program is ending.
class ERequestAbandoned : public Exception {
public:
    ERequestAbandoned()
        : Exception("Request abandoned") {}
};

// A limit on the HTTP requests of this thread, for a window that must always be able to go on:
// while it is in force, every wait step of TWebClient checks it, and the waiting request fails
// once `limit` has passed since the limit was set, or at once after AbandonAll. Limits nest;
// each request honours all that are in force.
class TRequestLimit {
public:
    explicit TRequestLimit(std::chrono::milliseconds limit);
    ~TRequestLimit();
    TRequestLimit(const TRequestLimit&) = delete;
    TRequestLimit& operator=(const TRequestLimit&) = delete;

    // True while a limit is in force on this thread.
    static bool InForce();
    // Raises ERequestAbandoned or ERequestTimedOut when a limit in force calls for it.
    static void Check();
    // Ends every request of this thread that waits under a limit, at its next wait step.
    static void AbandonAll();

private:
    std::chrono::steady_clock::time_point deadline_;
    bool abandoned_ = false;
    TRequestLimit* outer_;
};

} // namespace quorvex
