#pragma once
// Tuning of the C library's allocator for programs that open large scores.
//
// Opening a score makes hundreds of thousands of small objects at once (notes, events and
// their lists). On a fresh heap most of that time goes to first-touch page faults, one per
// 4 KiB page, not to reading the file; and the default allocator hands freed memory back
// to the system early, so the next score faults it all in again. A program calls
// TuneAllocator once at start, before it allocates much; the engine itself never does,
// so libraries and tests keep the system's defaults.

namespace notecraft {

// Grows the heap in large steps, keeps freed memory for reuse, serves large blocks from
// the heap instead of fresh mappings, and asks for transparent huge pages on the heap
// where the system grants them on request. Does nothing on a C library without these
// controls; safe to call more than once.
void TuneAllocator();

}  // namespace notecraft
