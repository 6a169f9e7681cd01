#include "standin/SiteService.h"

#include "platform/Exception.h"
#include "platform/File.h"
#include "platform/FileContents.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace quorvex {
namespace {

inline constexpr const char* kSiteFolder = "/Quorvex/";
inline constexpr const char* kReportPath = "/Quorvex/Quorvex.asp";
inline constexpr const char* kHelpPath = "/Quorvex/help.html";

inline constexpr const char* kReportPage =
    "<html><head><title>Quorvex</title></head><body><p>Quorvex usage report received.</p>"
    "</body></html>\n";
inline constexpr const char* kHelpPage =
    "<html><head><meta charset=\"UTF-8\"><title>Quorvex 使用说明</title></head><body>"
    "<h1>Quorvex 使用说明</h1>"
    "<p>复制任何程序中的文字，Quorvex 会立即翻译。Copy a text in any program and Quorvex "
    "translates it at once.</p></body></html>\n";

// A file name the folder may serve: one path piece that names nothing hidden or above it.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos;
}

std::string HttpDate(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed",
                                                      "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto instant = floor<seconds>(time);
    const auto day = floor<days>(instant);
    const year_month_day date(day);
    const hh_mm_ss clock(instant - day);
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%s, %02u %s %04d %02ld:%02ld:%02lld GMT",
                  kDays[weekday(day).c_encoding()], unsigned(date.day()),
                  kMonths[unsigned(date.month()) - 1], int(date.year()),
                  long(clock.hours().count()), long(clock.minutes().count()),
                  static_cast<long long>(clock.seconds().count()));
    return text.data();
}

std::string ContentTypeOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    if (extension == ".inf" || extension == ".txt")
        return "text/plain";
    if (extension == ".html")
        return "text/html; charset=UTF-8";
    return "application/octet-stream";
}

THttpResponse ServeFile(const std::string& folder, const std::string& name) {
    const std::string path = folder + "/" + name;
    if (!IsPlainFileName(name) || platform::FileSize(path) < 0)
        return THttpResponse::PlainText(404, "Not Found", "no update file " + name);
    const auto modified = platform::LastWriteTime(path);
    try {
        std::string bytes = platform::ReadWholeFile(path);
        if (modified)
            return {200,
                    "OK",
                    ContentTypeOf(name),
                    std::move(bytes),
                    {{"Last-Modified", HttpDate(*modified)}}};
    } catch (const Exception&) {
        // Answered below; the reply leaves out where the server keeps its files.
    }
    return THttpResponse::PlainText(500, "Internal Server Error", "cannot read " + name);
}

} // namespace

std::string ReportLine(const std::string& query) {
    return "usage report " + query;
}

void AddSiteService(TRouter& router, const TSiteOptions& options) {
    const auto onReport = options.OnReport;
    router.Add("GET", kReportPath, [onReport](const THttpRequest& request) {
        if (onReport)
            onReport(ReportLine(request.Query()));
        return THttpResponse{200, "OK", "text/html; charset=UTF-8", kReportPage, {}};
    });
    router.Add("GET", kHelpPath, [](const THttpRequest&) {
        return THttpResponse{200, "OK", "text/html; charset=UTF-8", kHelpPage, {}};
    });
    if (options.UpdatesFolder.empty())
        return;
    const std::string folder = options.UpdatesFolder;
    router.AddPrefix("GET", kSiteFolder, [folder](const THttpRequest& request) {
        return ServeFile(folder, request.Path().substr(std::string(kSiteFolder).size()));
    });
}

} // namespace quorvex
