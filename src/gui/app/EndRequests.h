#pragma once

namespace velmora::gui {

class CMainFrame;

// Ends the window as its Exit command does when the program is asked from
// outside to end (SIGTERM from `kill` or a logout, SIGHUP when its terminal
// goes, SIGINT): a question on screen is cancelled, the running process stops
// without the Stop question, and the window closes once it has returned, so
// that the tray a scan locked is unlocked and an image ends in its track list.
// False when the requests cannot be watched (the signals then end the program
// where it stands, as before).
bool EndWindowOnRequest(CMainFrame& frame);

}  // namespace velmora::gui
