#pragma once

#include "support/LoopbackHttpServer.h"

#include <memory>
#include <optional>
#include <string>

namespace quorvex::test_support {

// What a FileServer serves and how it misbehaves.
struct FileServerOptions {
    std::shared_ptr<const std::string> Content = std::make_shared<const std::string>();
    std::string Path = "/file.bin"; // any other path gets a 404 page
    std::string ContentType = "application/octet-stream";
    bool HonourRanges = true;         // false: a Range header is ignored (whole body, 200)
    std::string Realm;                // non-empty: Basic login required, 401 with this realm
    std::string Login;                // "user:password" accepted for the realm
    std::optional<size_t> CloseAfter; // the body is cut off after this many bytes
    size_t SlowPieceSize = 0;         // non-zero: the body goes out in pieces of this size ...
    Milliseconds SlowPause{0};        // ... with this pause before each piece
    bool SendContentLength = true;    // false: the body ends with the connection
};

// A loopback server for one file: full bodies, byte ranges with 206 and 416, a Basic login
// with a realm, bodies cut off early and slow bodies.
class FileServer : public LoopbackHttpServer {
public:
    explicit FileServer(FileServerOptions options);
    ~FileServer() override;

    std::string FileUrl() const { return Url(options_.Path); }

private:
    Reply Answer(const RecordedRequest& request) const;
    Reply Body(int code, std::string_view reason, size_t start, size_t length,
               const std::string& extraHeader) const;

    FileServerOptions options_;
};

// Basic credentials as the Authorization header carries them ("Basic " + base64).
std::string BasicAuthorization(const std::string& login);

} // namespace quorvex::test_support
