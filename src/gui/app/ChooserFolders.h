#pragma once

#include <QString>

namespace velmora::gui {

// What a file chooser is for: each purpose starts in the folder it was last
// used in, never in the folder the program was started from.
enum class ChooserPurpose { kOpenImage, kSaveImage, kSaveLog, kDestination };

// The folder a chooser for purpose starts in: the one last used for it while it
// still exists, else the home folder.
QString ChooserStartFolder(ChooserPurpose purpose);
// Keeps the folder of what was chosen (a file, or for a folder chooser the
// folder itself) for the next chooser of that purpose.
void RememberChosen(ChooserPurpose purpose, const QString& chosen, bool chosenIsFolder);

}  // namespace velmora::gui
