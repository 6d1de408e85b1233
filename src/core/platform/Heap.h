#pragma once

namespace velmora::platform {

// Readies the heap for a scan's entry table, which grows to tens of megabytes
// in many small steps: the heap is reserved ahead in one piece and backed by
// huge pages where the system allows them, so filling the table costs a few
// hundred page faults instead of several thousand. Call once, first thing in
// main; harmless where the system offers no huge pages.
void PrepareHeapForLargeTables();

}  // namespace velmora::platform
