#include "download/upLogin.h"

#include "platform/Exception.h"

namespace quorvex {
namespace {

inline constexpr std::size_t kMaxStoredBytes = 255;

std::string Scrambled(std::string_view bytes, unsigned char length) {
    const auto key = static_cast<unsigned char>(length ^ kLoginScramble);
    std::string result(bytes);
    for (char& c : result)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
    return result;
}

} // namespace

std::string EncodeLogin(std::string_view UserName, std::string_view Password) {
    const std::size_t length = 1 + UserName.size() + Password.size();
    if (length > kMaxStoredBytes)
        throw Exception("The login is too long to be stored: user name and password may hold " +
                        std::to_string(kMaxStoredBytes - 1) + " bytes together");
    const auto n = static_cast<unsigned char>(length);
    std::string plain;
    plain += static_cast<char>(UserName.size());
    plain.append(UserName).append(Password);
    return std::string(1, static_cast<char>(n)) + Scrambled(plain, n);
}

bool DecodeLogin(std::string_view Stored, std::string& UserName, std::string& Password) {
    if (Stored.empty())
        return false;
    const auto n = static_cast<unsigned char>(Stored[0]);
    if (n == 0 || Stored.size() != 1u + n)
        return false;
    const std::string plain = Scrambled(Stored.substr(1), n);
    const auto userLength = static_cast<unsigned char>(plain[0]);
    if (userLength > plain.size() - 1)
        return false;
    UserName = plain.substr(1, userLength);
    Password = plain.substr(1 + userLength);
    return true;
}

std::string TupLoginComponent::WriteLogin() const {
    if (HTTPUsername.empty() && HTTPPassword.empty())
        return {};
    return EncodeLogin(HTTPUsername, HTTPPassword);
}

void TupLoginComponent::ReadLogin(std::string_view Stored) {
    DecodeLogin(Stored, HTTPUsername, HTTPPassword);
}

} // namespace quorvex
