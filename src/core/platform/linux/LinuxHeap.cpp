#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "platform/Heap.h"

namespace velmora::platform {
namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// The table of a 60,000-file disc and its indexes take about 20 MB, that of a
// 240,000-file disc about 60 MB.
constexpr int kHeapReserve = 64 << 20;
// Blocks up to this size come from the heap, so the table's storage lands in
// the reserved, huge-page backed part rather than in a fresh mapping per growth.
constexpr int kHeapBlockLimit = 256 << 20;
}  // namespace

void PrepareHeapForLargeTables() {
  mallopt(M_MMAP_THRESHOLD, kHeapBlockLimit);
  mallopt(M_TRIM_THRESHOLD, kHeapBlockLimit);
  mallopt(M_TOP_PAD, kHeapReserve);
  // A block larger than what the heap has left grows it by the block and the
  // reserve; the memory stays virtual until it is touched. Only what this
  // growth added is advised, so nothing else in the address space is.
  const auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
  // volatile: the compiler may drop an allocation that is freed unused.
  void* volatile block = std::malloc(kHugePage);
  std::free(block);
  const auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const std::uintptr_t start = (before + kHugePage - 1) & ~(kHugePage - 1);
  // Advice only: a kernel without huge pages leaves the heap as it was.
  if (after > start) madvise(reinterpret_cast<void*>(start), after - start, MADV_HUGEPAGE);
}

}  // namespace velmora::platform
