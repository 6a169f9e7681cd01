#include "platform/MemoryAdvice.h"

#include <cstdint>
#include <sys/mman.h>

namespace quorvex::platform {
namespace {

constexpr uintptr_t kHugePageSize = uintptr_t{2} << 20;

} // namespace

void AdviseLargeBuffer(void* data, size_t size) {
    const auto begin = reinterpret_cast<uintptr_t>(data);
    const uintptr_t alignedBegin = (begin + kHugePageSize - 1) & ~(kHugePageSize - 1);
    const uintptr_t alignedEnd = (begin + size) & ~(kHugePageSize - 1);
    if (alignedEnd > alignedBegin) {
        // Advice that the kernel refuses (huge pages off) changes nothing, so its result is moot.
        madvise(reinterpret_cast<void*>(alignedBegin), alignedEnd - alignedBegin, MADV_HUGEPAGE);
    }
}

} // namespace quorvex::platform
