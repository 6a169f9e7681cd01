#pragma once

#include <cstdint>
#include <initializer_list>

namespace quorvex {

// A set of the members of a small enumeration (at most 32 members), written {a, b, c}.
template <typename Enum> class TSet {
public:
    TSet() = default;
    TSet(std::initializer_list<Enum> members) {
        for (const Enum member : members)
            Include(member);
    }

    bool Contains(Enum member) const { return (bits_ & Bit(member)) != 0; }
    TSet& Include(Enum member) {
        bits_ |= Bit(member);
        return *this;
    }
    bool operator==(const TSet&) const = default;

private:
    static std::uint32_t Bit(Enum member) { return 1u << static_cast<unsigned>(member); }
    std::uint32_t bits_ = 0;
};

} // namespace quorvex
