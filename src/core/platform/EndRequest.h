#pragma once

namespace velmora::platform {

// A request from outside to end the program (SIGTERM from `kill`, a logout or
// a service manager; SIGHUP when its terminal goes; SIGINT) turned into
// something an event loop can wait for: after WatchEndRequests(), the
// descriptor it returns becomes readable when one arrives, and the program can
// end as its Exit command does (a locked tray unlocked, an image ended in its
// track list) instead of dying where it stands. A second request ends the
// program the usual way, should the first not be heard. -1 when the
// descriptor could not be made (the signals then keep their usual action).
int WatchEndRequests();

// Empties the descriptor after a request was seen.
void AcknowledgeEndRequest(int descriptor);

}  // namespace velmora::platform
