#include "disc/RecoveryScan.h"

namespace velmora::disc {

void RecoveryScan::RecoverVolume() {}
bool RecoveryScan::ScanForDirectories(std::uint32_t) { return false; }
void RecoveryScan::ScanForPathTables() {}

}  // namespace velmora::disc
