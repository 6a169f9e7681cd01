#include "platform/Inflate.h"

#include "platform/Exception.h"

#include <zlib.h>

namespace quorvex::platform {
namespace {

// Raw deflate: negative window bits tell zlib that no header or trailer surrounds the data.
constexpr int kRawDeflateWindowBits = -MAX_WBITS;

class RawInflater {
public:
    RawInflater() {
        if (inflateInit2(&stream_, kRawDeflateWindowBits) != Z_OK)
            throw Exception("zlib cannot start inflating");
    }
    ~RawInflater() { inflateEnd(&stream_); }
    RawInflater(const RawInflater&) = delete;
    RawInflater& operator=(const RawInflater&) = delete;

    std::string Inflate(std::string_view compressed, std::size_t maximumSize) {
        std::string output(maximumSize, '\0');
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
        stream_.avail_in = static_cast<uInt>(compressed.size());
        stream_.next_out = reinterpret_cast<Bytef*>(output.data());
        stream_.avail_out = static_cast<uInt>(output.size());
        // A dictzip chunk ends with a full flush, not with the stream's end: Z_BUF_ERROR after
        // all input was taken is its normal outcome.
        const int result = inflate(&stream_, Z_SYNC_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END &&
            !(result == Z_BUF_ERROR && stream_.avail_in == 0))
            throw Exception(std::string("compressed data is damaged: ") +
                            (stream_.msg != nullptr ? stream_.msg : "zlib error"));
        output.resize(output.size() - stream_.avail_out);
        return output;
    }

private:
    z_stream stream_{};
};

} // namespace

std::string InflateRaw(std::string_view compressed, std::size_t maximumSize) {
    return RawInflater().Inflate(compressed, maximumSize);
}

} // namespace quorvex::platform
