#pragma once

#include <atomic>

namespace quorvex {

// Base of the download engine's components: an owner, and a flag that tells callbacks the
// component is on its way out so that nothing of it is called back any more.
class TComponent {
public:
    explicit TComponent(TComponent* Owner = nullptr)
        : owner_(Owner) {}
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    bool IsDestroying() const { return destroying_; }

protected:
    // Every destructor of a derived class calls this first.
    void Destroying() { destroying_ = true; }

private:
    TComponent* owner_;
    std::atomic<bool> destroying_{false};
};

} // namespace quorvex
