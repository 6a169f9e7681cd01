#pragma once

#include "download/upComponent.h"

#include <string>
#include <string_view>

namespace quorvex {

// The stored form of a login: one plain length byte N, then N bytes (the user name's length,
// the user name, the password), each XORed with N ^ kLoginScramble.
inline constexpr unsigned char kLoginScramble = 0xA7;

// Raises quorvex::Exception when user name and password together exceed what one length
// byte can count (254 bytes); storing them would lose data.
std::string EncodeLogin(std::string_view UserName, std::string_view Password);

// False (outputs untouched) when the bytes are not a stored login.
bool DecodeLogin(std::string_view Stored, std::string& UserName, std::string& Password);

// A component with a server login that it stores scrambled, as "Login", instead of as two
// plain values.
class TupLoginComponent : public TComponent {
public:
    using TComponent::TComponent;

    // The "Login" value; empty when there is nothing to store.
    std::string WriteLogin() const;
    void ReadLogin(std::string_view Stored);

    std::string HTTPUsername;
    std::string HTTPPassword;
};

} // namespace quorvex
