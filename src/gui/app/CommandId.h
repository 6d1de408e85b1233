#pragma once

namespace velmora::gui {

// Command identifiers. The status-bar prompt of a command is the string with the
// same number; the numbers are the ones every translation is keyed to.
enum CommandId : int {
  kOpenDrive = 32771,
  kCreateImage = 32772,
  kOpenImage = 32773,
  kRecoverSelected = 32774,
  kRecoverAll = 32775,
  kAddFileFilter = 32776,
  kRemoveFileFilter = 32777,
  kStopProcess = 32778,
  kFind = 32779,
  kFindNext = 32780,
  kFileMask = 32781,
  kSelectAll = 32782,
  kUnselectAll = 32783,
  kClearLog = 32784,
  kSaveLog = 32785,
  kMessageLog = 32786,
  kGoUp = 32787,
  kArrangeByName = 32788,
  kArrangeByType = 32789,
  kArrangeBySize = 32790,
  kArrangeByDate = 32791,
  kEnglish = 32793,
  kFrench = 32794,
  kGerman = 32795,
  kSpanish = 32796,
  kItalian = 32797,
  kFileUnmask = 32802,
  kNamesAuto = 32803,
  kNamesRockRidge = 32804,
  kNamesJoliet = 32805,
  kNamesPrimary = 32806,
  kAbout = 57664,
  kExit = 57665,
  kHelpTopics = 57667,
  kToolbar = 59392,
  kStatusBar = 59393,
  kSmallIcons = 59408,
  kLargeIcons = 59409,
  kListView = 59410,
  kDetailsView = 59411,
};

// The four ways the file list shows its rows.
enum class ListStyle { kLargeIcons, kSmallIcons, kList, kDetails };

}  // namespace velmora::gui
