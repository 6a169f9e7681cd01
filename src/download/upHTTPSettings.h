#pragma once

#include "download/upSet.h"
#include "download/upUtils.h"

#include <cstdint>
#include <functional>
#include <string>

namespace quorvex {

enum class TupHTTPAccessType { atPreconfig, atDirect, atUseProxy };

enum class TupCacheOption {
    coAlwaysReload,
    coReloadIfNoExpireInformation,
    coReloadUpdatedObjects,
    coPragmaNoCache,
    coNoCacheWrite,
    coCreateTempFilesIfCantCache,
    coUseCacheIfNetFail
};
using TupCacheOptions = TSet<TupCacheOption>;

enum class TupInternetOption {
    ioIgnoreCertificateInvalid,
    ioIgnoreCertificateDateInvalid,
    ioIgnoreUnknownCertificateAuthority,
    ioIgnoreRedirectToHTTP,
    ioIgnoreRedirectToHTTPS,
    ioKeepConnection,
    ioNoAuthentication,
    ioNoAutoRedirect,
    ioNoCookies
};
using TupInternetOptions = TSet<TupInternetOption>;

inline constexpr int kDefaultProxyPort = 8080;
inline constexpr const char* kDefaultProxyBypass = "127.0.0.1;";

// Settings objects of the transfer component. Assign copies every field; Reset restores the
// defaults (an assignment from nothing).
struct TupHTTPProxy {
    TupHTTPAccessType AccessType = TupHTTPAccessType::atPreconfig;
    int ProxyPort = kDefaultProxyPort;
    std::string ProxyServer;
    std::string ProxyBypass = kDefaultProxyBypass;
    std::string ProxyUsername;
    std::string ProxyPassword;

    void Assign(const TupHTTPProxy& Source) { *this = Source; }
    void Reset() { *this = TupHTTPProxy{}; }
};

struct TupHTTPRange {
    std::uint32_t StartRange = 0;
    std::uint32_t EndRange = 0;

    void Assign(const TupHTTPRange& Source) { *this = Source; }
    void Reset() { *this = TupHTTPRange{}; }
};

struct TupHTTPTimeouts {
    std::uint32_t ConnectTimeout = 0; // milliseconds; 0 = the library's default
    std::uint32_t ReceiveTimeout = 0;
    std::uint32_t SendTimeout = 0;

    void Assign(const TupHTTPTimeouts& Source) { *this = Source; }
    void Reset() { *this = TupHTTPTimeouts{}; }
};

// The attributes an output file carries while incomplete and once complete.
class TupOutputFileAttributes {
public:
    const TupFileAttributes& Complete() const { return complete_; }
    const TupFileAttributes& Incomplete() const { return incomplete_; }
    void SetComplete(const TupFileAttributes& Value);
    void SetIncomplete(const TupFileAttributes& Value);
    void Assign(const TupOutputFileAttributes& Source);
    void Reset();

    // Called when either set changes.
    std::function<void(TupOutputFileAttributes&)> OnChange;

private:
    void Changed();

    TupFileAttributes complete_{TupFileAttribute::atrArchive};
    TupFileAttributes incomplete_{TupFileAttribute::atrArchive, TupFileAttribute::atrTemporary};
};

} // namespace quorvex
