#include "app/CommandTable.h"

#include <QtGlobal>
#include <array>

namespace velmora::gui {
namespace {

constexpr QKeySequence::StandardKey kNoKey = QKeySequence::UnknownKey;

// QT_TRANSLATE_NOOP marks the texts for the translators; the window translates
// them each time it shows them, so that a language switch reaches every item.
const std::array kCommands = {
    // Drive
    CommandSpec{kOpenDrive, MenuPopup::kDrive, QT_TRANSLATE_NOOP("CMainFrame", "&Open Drive"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Open drive"),
                QT_TRANSLATE_NOOP("CMainFrame", "Open Drive"), ":/icons/open-drive.svg", false,
                false},
    CommandSpec{kCreateImage, MenuPopup::kDrive, QT_TRANSLATE_NOOP("CMainFrame", "&Create Image"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Create cdrom image"), "", "", false,
                false},
    CommandSpec{kOpenImage, MenuPopup::kDrive, QT_TRANSLATE_NOOP("CMainFrame", "Open &Image"),
                QKeySequence::Open, "", QT_TRANSLATE_NOOP("CMainFrame", "Open cdrom image"), "",
                "", false, false},
    CommandSpec{kExit, MenuPopup::kDrive,
                QT_TRANSLATE_NOOP("CMainFrame", "E&xit Orvane Velmora CDROM "), QKeySequence::Quit,
                "", QT_TRANSLATE_NOOP("CMainFrame", "Exit Orvane Velmora CDROM"), "", "", true,
                false},
    // File
    CommandSpec{kRecoverSelected, MenuPopup::kFile,
                QT_TRANSLATE_NOOP("CMainFrame", "Recover &Selected Files"), kNoKey, "Ctrl+S",
                QT_TRANSLATE_NOOP("CMainFrame", "Recover selected files"),
                QT_TRANSLATE_NOOP("CMainFrame", "Recover Selected Files"),
                ":/icons/recover-selected.svg", false, false},
    CommandSpec{kRecoverAll, MenuPopup::kFile, QT_TRANSLATE_NOOP("CMainFrame", "&Recover All"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Recover all"),
                QT_TRANSLATE_NOOP("CMainFrame", "Recover All"), ":/icons/recover-all.svg", false,
                false},
    CommandSpec{kAddFileFilter, MenuPopup::kFile,
                QT_TRANSLATE_NOOP("CMainFrame", "&Add File Filter"), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Add file filter to do recovery of specific extensions"),
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Add file filter to do recovery of specific extensions"),
                ":/icons/file-filter.svg", true, false},
    CommandSpec{kRemoveFileFilter, MenuPopup::kFile,
                QT_TRANSLATE_NOOP("CMainFrame", "Remove &File Filter"), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Remove file filter"), "", "", false, false},
    // Tools
    CommandSpec{kStopProcess, MenuPopup::kTools,
                QT_TRANSLATE_NOOP("CMainFrame", "Stop &Current Process"), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Stop current process"),
                QT_TRANSLATE_NOOP("CMainFrame", "Stop Current Process"), ":/icons/stop.svg", false,
                false},
    CommandSpec{kFind, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "&Find"), kNoKey,
                "Ctrl+F", QT_TRANSLATE_NOOP("CMainFrame", "Find file in the tree displayed"),
                QT_TRANSLATE_NOOP("CMainFrame", "Find file in the tree displayed"),
                ":/icons/find.svg", true, false},
    CommandSpec{kFindNext, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "Find Next Item"),
                kNoKey, "F3",
                QT_TRANSLATE_NOOP("CMainFrame", "Find next item in the tree displayed"),
                QT_TRANSLATE_NOOP("CMainFrame", "Find next item in the tree displayed"),
                ":/icons/find-next.svg", false, false},
    CommandSpec{kFileMask, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "File &Mask"),
                kNoKey, "Ctrl+M", QT_TRANSLATE_NOOP("CMainFrame", "Mask unwanted files & folders"),
                QT_TRANSLATE_NOOP("CMainFrame", "Mask unwanted files & folders"),
                ":/icons/file-mask.svg", true, false},
    CommandSpec{kFileUnmask, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "File U&nmask"),
                kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Display complete tree of files & folders"), "",
                "", false, false},
    CommandSpec{kSelectAll, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "Select &All"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Select all files & folders"), "", "",
                true, false},
    CommandSpec{kUnselectAll, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "&Unselect All"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Unmark all"), "", "", false, false},
    CommandSpec{kClearLog, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "&Clear Log"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Clear all contents of message log"),
                "", "", true, false},
    CommandSpec{kSaveLog, MenuPopup::kTools, QT_TRANSLATE_NOOP("CMainFrame", "&Save  Log"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Save Message log to  a file"), "", "",
                false, false},
    // View
    CommandSpec{kToolbar, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "&Toolbar"), kNoKey,
                "", QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the toolbar"), "", "", false,
                true},
    CommandSpec{kStatusBar, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "&Status Bar"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Show or hide the status bar"), "", "",
                false, true},
    CommandSpec{kMessageLog, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "&Message Log"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Show or hide process log"), "", "",
                false, true},
    CommandSpec{kGoUp, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "&Go Up"), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Up"), QT_TRANSLATE_NOOP("CMainFrame", "Up"),
                ":/icons/go-up.svg", true, false},
    CommandSpec{kLargeIcons, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "Large Icons"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Display items by using large icons"),
                "", "", true, true},
    CommandSpec{kSmallIcons, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "Small Icons"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Display items by using small icons"),
                "", "", false, true},
    CommandSpec{kListView, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "List"), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Displays items in a list"), "", "", false, true},
    CommandSpec{kDetailsView, MenuPopup::kView, QT_TRANSLATE_NOOP("CMainFrame", "Details"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Displays detailed information"), "",
                "", false, true},
    CommandSpec{kArrangeByName, MenuPopup::kViewArrange, QT_TRANSLATE_NOOP("CMainFrame", "By &Name"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Arrange right view on name"), "", "",
                false, false},
    CommandSpec{kArrangeByType, MenuPopup::kViewArrange, QT_TRANSLATE_NOOP("CMainFrame", "By &Type"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Arrange right view on type"), "", "",
                false, false},
    CommandSpec{kArrangeBySize, MenuPopup::kViewArrange, QT_TRANSLATE_NOOP("CMainFrame", "By &Size"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Arrange right view on size"), "", "",
                false, false},
    CommandSpec{kArrangeByDate, MenuPopup::kViewArrange, QT_TRANSLATE_NOOP("CMainFrame", "By &Date"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Arrange right view on date"), "", "",
                false, false},
    CommandSpec{kNamesAuto, MenuPopup::kViewNames, QT_TRANSLATE_NOOP("CMainFrame", "&Automatic"),
                kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame",
                                  "Show the Rock Ridge names when the disc has them, else Joliet, "
                                  "else ISO 9660"),
                "", "", false, true},
    CommandSpec{kNamesRockRidge, MenuPopup::kViewNames,
                QT_TRANSLATE_NOOP("CMainFrame", "&Rock Ridge"), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Show the Rock Ridge names of the disc"), "", "",
                true, true},
    CommandSpec{kNamesJoliet, MenuPopup::kViewNames, QT_TRANSLATE_NOOP("CMainFrame", "&Joliet"),
                kNoKey, "", QT_TRANSLATE_NOOP("CMainFrame", "Show the Joliet names of the disc"),
                "", "", false, true},
    CommandSpec{kNamesPrimary, MenuPopup::kViewNames,
                QT_TRANSLATE_NOOP("CMainFrame", "ISO 9660 &Primary"), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Show the ISO 9660 names of the primary volume"),
                "", "", false, true},
    // Language
    CommandSpec{kEnglish, MenuPopup::kLanguage, QT_TRANSLATE_NOOP("CMainFrame", "&English"), kNoKey,
                "", QT_TRANSLATE_NOOP("CMainFrame", "Change the current language to english "), "",
                "", false, false},
    CommandSpec{kFrench, MenuPopup::kLanguage, QT_TRANSLATE_NOOP("CMainFrame", "&French"), kNoKey,
                "", QT_TRANSLATE_NOOP("CMainFrame", "Change the current language to french"), "",
                "", true, false},
    CommandSpec{kGerman, MenuPopup::kLanguage, QT_TRANSLATE_NOOP("CMainFrame", "&German"), kNoKey,
                "", QT_TRANSLATE_NOOP("CMainFrame", "Change the current language to german"), "",
                "", true, false},
    CommandSpec{kSpanish, MenuPopup::kLanguage, QT_TRANSLATE_NOOP("CMainFrame", "&Spanish"), kNoKey,
                "", QT_TRANSLATE_NOOP("CMainFrame", "Change the current language to spanish"), "",
                "", true, false},
    CommandSpec{kItalian, MenuPopup::kLanguage, QT_TRANSLATE_NOOP("CMainFrame", "&Italian"), kNoKey,
                "", QT_TRANSLATE_NOOP("CMainFrame", "Change the current language to italian"), "",
                "", true, false},
    // Help
    CommandSpec{kHelpTopics, MenuPopup::kHelp, QT_TRANSLATE_NOOP("CMainFrame", "&Help Topics"),
                QKeySequence::HelpContents, "", QT_TRANSLATE_NOOP("CMainFrame", "List Help topics"),
                QT_TRANSLATE_NOOP("CMainFrame", "Help Topics"), ":/icons/help.svg", false, false},
    CommandSpec{kAbout, MenuPopup::kHelp,
                QT_TRANSLATE_NOOP("CMainFrame", "&About Orvane Velmora CDROM "), kNoKey, "",
                QT_TRANSLATE_NOOP("CMainFrame", "Display program information, version number and copyright"),
                "", "", true, false},
};

constexpr std::array kToolbarButtons = {
    static_cast<int>(kOpenDrive),   0, static_cast<int>(kAddFileFilter), 0,
    static_cast<int>(kFind),        static_cast<int>(kFindNext),         0,
    static_cast<int>(kRecoverAll),  static_cast<int>(kRecoverSelected),  0,
    static_cast<int>(kFileMask),    0, static_cast<int>(kGoUp),          0,
    static_cast<int>(kStopProcess), 0, static_cast<int>(kHelpTopics),
};

}  // namespace

std::span<const CommandSpec> Commands() { return kCommands; }

const CommandSpec* FindCommand(int id) {
  for (const CommandSpec& command : kCommands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

CommandId NamesCommand(disc::NameSource names) {
  switch (names) {
    case disc::NameSource::kAuto: return kNamesAuto;
    case disc::NameSource::kRockRidge: return kNamesRockRidge;
    case disc::NameSource::kJoliet: return kNamesJoliet;
    case disc::NameSource::kPrimary: return kNamesPrimary;
  }
  return kNamesAuto;
}

std::optional<disc::NameSource> NamesOfCommand(int id) {
  for (disc::NameSource names : {disc::NameSource::kAuto, disc::NameSource::kRockRidge,
                                 disc::NameSource::kJoliet, disc::NameSource::kPrimary}) {
    if (NamesCommand(names) == id) return names;
  }
  return std::nullopt;
}

std::span<const int> ToolbarLayout() { return kToolbarButtons; }

}  // namespace velmora::gui
