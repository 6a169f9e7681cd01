#include "translate/RequestLimit.h"

namespace quorvex {
namespace {

thread_local TRequestLimit* innermostLimit = nullptr;

} // namespace

ERequestTimedOut::ERequestTimedOut()
    : ESocketError(platform::TimedOutSocketError()) {}

TRequestLimit::TRequestLimit(std::chrono::milliseconds limit)
    : deadline_(std::chrono::steady_clock::now() + limit)
    , outer_(innermostLimit) {
    innermostLimit = this;
}

TRequestLimit::~TRequestLimit() {
    innermostLimit = outer_;
}

bool TRequestLimit::InForce() {
    return innermostLimit != nullptr;
}

void TRequestLimit::Check() {
    const auto now = std::chrono::steady_clock::now();
    for (const TRequestLimit* limit = innermostLimit; limit != nullptr; limit = limit->outer_) {
        if (limit->abandoned_)
            throw ERequestAbandoned();
        if (now >= limit->deadline_)
            throw ERequestTimedOut();
    }
}

void TRequestLimit::AbandonAll() {
    for (TRequestLimit* limit = innermostLimit; limit != nullptr; limit = limit->outer_)
        limit->abandoned_ = true;
}

} // namespace quorvex
