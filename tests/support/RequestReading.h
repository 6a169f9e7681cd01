#pragma once

#include "support/LoopbackHttpServer.h"
#include "translate/ByteReader.h"

#include <optional>

namespace quorvex::test_support {

// Reads one request (head, then a body of Content-Length bytes) and keeps its raw bytes;
// nothing when the stream ends before a request line.
std::optional<RecordedRequest> ReadRequest(TByteReader& reader);

} // namespace quorvex::test_support
