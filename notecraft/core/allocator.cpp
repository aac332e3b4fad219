#include "notecraft/core/allocator.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#endif

namespace notecraft {

#if defined(__GLIBC__)

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;
// Heap growth is asked for in steps of this size, and the range it spans is marked for
// huge pages in one go; memory is made resident only where it is touched.
constexpr std::size_t kHeapStep = 256 * kMiB;
constexpr std::size_t kHugePage = 2 * kMiB;

}  // namespace

void TuneAllocator() {
  static bool done = false;
  if (done) return;
  done = true;
  // Lists of a large score (a voice's notes, a staff's lyrics) are megabytes: from the heap
  // they are reused by the next score instead of being mapped and faulted in afresh.
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(32 * kMiB));
  // Freed memory at the top of the heap stays for the next score.
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kHeapStep));
  mallopt(M_TOP_PAD, static_cast<int>(kHeapStep));
  // A block larger than the heap's free top makes it grow by the pad (nothing is touched,
  // so nothing becomes resident); the span from the block to the new end takes huge pages
  // where the system offers them on request ("madvise" mode), so a score's objects fault
  // in 2 MiB at a time instead of 4 KiB.
  void* probe = malloc(16 * kMiB);
  const auto top = reinterpret_cast<std::uintptr_t>(sbrk(0));
  const auto from = (reinterpret_cast<std::uintptr_t>(probe) + kHugePage - 1) & ~(kHugePage - 1);
  if (probe && top != static_cast<std::uintptr_t>(-1) && top > from)
    madvise(reinterpret_cast<void*>(from), top - from, MADV_HUGEPAGE);
  free(probe);
}

#else

void TuneAllocator() {}

#endif

}  // namespace notecraft
