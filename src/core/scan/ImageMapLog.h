#pragma once

#include "disc/CCDReader.h"
#include "host/ScanHost.h"

namespace velmora::disc {

// Says in the log how much of the open image its map gives as never read,
// when any is: those blocks read as unreadable, so that a file over one is
// partial and a folder over one is damaged. True when a row was added.
bool LogImageMap(const CCDReader& reader, ScanHost& host);

}  // namespace velmora::disc
