#pragma once

#include "host/ScanHost.h"
#include "media/FoundSessions.h"

namespace velmora::disc {

// The log rows that say which sessions an image without a track list holds and
// how they were found: the sessions with their first sectors, a last session
// cut to the image's end, descriptors not taken as a session, and a search that
// stopped at the most sessions a disc holds. Returns true when a row tells of
// damage (a failure row): sessions, or parts of one, that are not read.
bool LogFoundSessions(const FoundSessions& found, ScanHost& host);

}  // namespace velmora::disc
