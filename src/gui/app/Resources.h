#pragma once

namespace velmora::gui {

// Registers the icons compiled into the program (once; later calls do nothing).
// The resources live in a static library, which the linker would otherwise
// leave out.
void InitResources();

}  // namespace velmora::gui
