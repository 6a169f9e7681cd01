#include "platform/TextCodec.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace quorvex::platform {
namespace {

constexpr char kReplacement = '?';

// Length of the UTF-8 sequence that starts with `lead`; 1 for a byte that cannot start one.
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

// GBK lead bytes 0x81..0xFE take a trail byte; every other byte stands alone.
size_t GbkSequenceLength(unsigned char lead) {
    return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
}

class Converter {
public:
    Converter(const char* to, const char* from)
        : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw Exception(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `input`; a sequence iconv rejects is replaced and skipped.
    template <typename SequenceLength>
    std::string Convert(std::string_view input, SequenceLength sequenceLength) {
        std::string output;
        output.reserve(input.size() * 2);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* out = buffer;
            size_t outLeft = sizeof buffer;
            size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(buffer, out - buffer);
            if (result != static_cast<size_t>(-1) || errno == E2BIG)
                continue;
            // EILSEQ or EINVAL: replace the offending sequence and go on after it.
            size_t skip = std::min(inLeft, sequenceLength(static_cast<unsigned char>(*in)));
            output.push_back(kReplacement);
            in += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return output;
    }

private:
    iconv_t handle_;
};

} // namespace

std::string Utf8ToGbk(std::string_view utf8) {
    return Converter("GBK", "UTF-8").Convert(utf8, Utf8SequenceLength);
}

bool GbkHoldsAll(std::string_view utf8) {
    return GbkToUtf8(Utf8ToGbk(utf8)) == utf8;
}

std::string GbkToUtf8(std::string_view gbk) {
    return Converter("UTF-8", "GBK").Convert(gbk, GbkSequenceLength);
}

} // namespace quorvex::platform
