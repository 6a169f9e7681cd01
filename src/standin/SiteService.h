#pragma once

#include "standin/Router.h"

#include <functional>
#include <string>

namespace quorvex {

// What the maker's web site of the stand-in serves besides its two fixed pages.
struct TSiteOptions {
    // Non-empty: the files of this folder are served under /Quorvex/ (the update information
    // file and the files it lists), read afresh on every request.
    std::string UpdatesFolder;
    // Receives one line per usage report; called from the server's connection threads.
    std::function<void(const std::string& line)> OnReport;
    // Non-empty: receives one line per request of any kind ("GET /s?..."), before it is
    // answered, from the connection threads as well.
    std::function<void(const std::string& line)> OnRequest;
};

// Serves the maker's web site under /Quorvex/: the usage report Quorvex.asp (a small page, and
// a line to OnReport), the usage instructions help.html and the files of the updates folder
// with Content-Length and Last-Modified.
void AddSiteService(TRouter& router, const TSiteOptions& options);

// The line OnReport receives for a report with this query.
std::string ReportLine(const std::string& query);

} // namespace quorvex
