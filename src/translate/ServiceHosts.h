#pragma once

#include <string>

namespace quorvex {

// The hosts of the outside services ("name" or "name:port"), read once from the environment
// variables QUORVEX_TRANSLATE_HOST, QUORVEX_SEARCH_HOST, QUORVEX_DICT_HOST and QUORVEX_SITE_HOST;
// an unset or empty variable leaves the public host, and for the maker's site, which has no
// public host, an empty name: no site.
struct TServiceHosts {
    std::string Translate; // the Google translation service
    std::string Search;    // the Baidu web search
    std::string Dict;      // the Baidu dictionary site
    std::string Site;      // the maker's web site; empty when there is none
};

// The hosts as the environment names them now.
TServiceHosts ReadServiceHosts();
// The hosts as read at the first call.
const TServiceHosts& ServiceHosts();

} // namespace quorvex
