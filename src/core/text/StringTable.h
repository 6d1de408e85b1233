#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora::text {

// String ids of the system's own texts. Every user-visible text is loaded by its
// id, every time it is shown, so that a language switch takes effect at once.
enum StringId : std::uint16_t {
  kActivityColumn = 61204,
  kTextColumn = 61205,
  kStatusColumn = 61206,
  kDiscTotalsInitial = 61207,
  kMarkedTotalsInitial = 61208,
  kProductTitle = 61209,
  kSameDriveWarning1 = 61212,
  kSameDriveWarning2 = 61213,
  kCannotExit1 = 61214,
  kCannotExit2 = 61215,
  kInsertCdrom = 61216,
  kRootName = 61217,
  kEntriesFound = 61218,
  kReadingLabel = 61219,
  kTotalPrefix = 61220,
  kBytesIn = 61221,
  kFilesIn = 61222,
  kFolders = 61223,
  kMarkedPrefix = 61224,
  kKilobytesIn = 61225,
  kMegabytesIn = 61226,
  kDecimalSeparator = 61227,
  kGigabytesIn = 61228,
  kChooseDestination = 61229,
  kFilesRecovered = 61230,
  kImageSignature = 61231,
  kImageNamePrefix = 61232,
  kSaveImageTitle = 61233,
  kSaveImageFilter = 61234,
  kOpenImageFilter = 61235,
  kOpenImageTitle = 61236,
  kInfo = 61237,
  kCreatingTreeStructure = 61238,
  kProcessStarted = 61239,
  kProcessAborted = 61240,
  kProcessCompleted = 61241,
  kSavingFilesProcess = 61242,
  kRecoveringFile = 61246,
  kFileRecovered = 61247,
  kFileRecoveredPartially = 61248,
  kFileRecoveryFailure = 61249,
  kImageCreation = 61250,
  kProblemReadingSector = 61251,
  kUnableToReadSector = 61253,
  kDirType = 61254,
  kFileType = 61255,
  kRecoverSelectedMenu = 61268,
  kRecoverAllMenu = 61269,
  kViewLargeIconsMenu = 61271,
  kViewSmallIconsMenu = 61272,
  kViewListMenu = 61273,
  kViewDetailsMenu = 61274,
  kNotValidImage = 61280,
  kNoMatchingEntry = 61276,
  kNoMoreEntries = 61275,
  kCdromNotFound = 61277,
  kCannotCreateImage = 61278,
  kCannotOpenImage = 61279,
  kWriteProtected = 61281,
  kLogFileName = 61282,
  kSaveLogTitle = 61283,
  kTextDocument = 61284,
  kLogReportHeading = 61285,
  kReadingSector = 61286,
  kAboutNotice = 61287,
  kLicenceNotice = 61790,
  kNameColumn = 61291,
  kTypeColumn = 61292,
  kSizeColumn = 61293,
  kDateColumn = 61294,
  kFileIdColumn = 61295,
  kParentIdColumn = 61296,
  kStopQuestion2 = 61300,
  kStopQuestion1 = 61301,
  kFolderNotRead = 61420,
  kFolderReadInPart = 61421,
  kFolderNoDirectory = 61422,
  kFolderPastEnd = 61423,
  kDiscHoldsNoFiles = 61424,
  kGmtOffsetsIgnored = 61425,
  kJolietTreeUnreadable = 61426,
  kPrimaryTreeUnreadable = 61427,
  kSector = 61428,
  kFolderFromPrimary = 61429,
  kNamesAddedFromPrimary = 61430,
  kFolderFromJoliet = 61431,
  kFolderIsVolumeDescriptor = 61432,
  kSessionsOverlap = 61440,
  kRockRidgeUnknown = 61441,
  kNamesRockRidge = 61450,
  kNamesJoliet = 61451,
  kNamesPrimary = 61452,
  kRockRidgeDamaged = 61453,
  kRockRidgeFolderLoop = 61454,
  kRockRidgeFolderNotHome = 61455,
  kLinkCreated = 61470,
  kSessionsOneAfterAnother = 61480,
  kSessionsNewestCopied = 61481,
  kSessionCutToImage = 61482,
  kDescriptorsNotSession = 61483,
  kSessionsPastLimit = 61484,
  kSessionsWithoutPrimary = 61485,
  // Why a file, a device or an image cannot be used. Each names what it is
  // about in %1; the words around the arguments are the translator's.
  kReasonDoesNotExist = 61500,
  kReasonNoDisc = 61501,
  kReasonDeviceAccess = 61502,
  kReasonFileAccess = 61503,
  kReasonSystem = 61504,
  kReasonTrackListDamaged = 61505,
  kReasonOnlyTrackList = 61506,
  kReasonSessionsPastImage = 61507,
  kReasonSessionsCutToImage = 61508,
  kReasonBackwardEnds = 61509,
  kReasonAlsoBackwardEnds = 61510,
  kReasonNotADiscImage = 61511,
  kReasonNothingFound = 61512,
  kReasonTrailerCut = 61513,
  kReasonTrailerCutOneSession = 61514,
  kReasonCannotCreateImage = 61515,
  kReasonCannotWriteImage = 61516,
  kReasonSizeUnknown = 61517,
  kReasonFileEndedEarly = 61518,
  kReasonTrailerTrackListDamaged = 61519,
  // A recovery's closing rows. %1 and %2 are counts.
  kSavedFilesInFolders = 61520,
  kSavedOneFileInFolders = 61521,
  kSavedFilesInOneFolder = 61522,
  kSavedOneFileInOneFolder = 61523,
  kFilesReadInPart = 61524,
  kFilesNotRecovered = 61525,
  kFilesCutShortByStop = 61526,
  kProcessCompletedWithErrors = 61527,
  // The row under a partly read file: %1 the byte ranges not read.
  kUnreadBytes = 61528,
  kMoreUnreadRanges = 61529,
  // The map beside an image.
  kImageMapUnread = 61600,
  kReasonMapLine = 61601,
  kReasonMapUnreadable = 61602,
  kReasonMapTooLarge = 61603,
  kReasonFaultsNotMapfile = 61604,
  kReasonCannotWriteMap = 61605,
  // Rescue imaging.
  kRescueImaging = 61606,
  kRescueResumed = 61607,
  kRescuePassEnded = 61608,
  kRescuePassWhatMatters = 61609,
  kRescuePassCopying = 61610,
  kRescuePassTrimming = 61611,
  kRescuePassScraping = 61612,
  kRescuePassRetrying = 61613,
  kRescuePassMerging = 61614,
  kReasonNoMapToMerge = 61615,
  kReasonRescueOtherDisc = 61616,
  kReasonMergeUnchecked = 61617,
  kRescueImageFilter = 61620,
  // What the drive says, and what becomes of a process on it.
  kDriveLabel = 61800,
  kFirmwareLabel = 61801,
  kWaitingForDrive = 61802,
  kDriveNotReady = 61803,
  kNoDiscInDrive = 61804,
  kDiscChanged = 61805,
  kDriveGone = 61806,
  kDriveTimeOut = 61807,
  kReadCdRefused = 61808,
  kSenseLabel = 61809,
  kSenseNotReady = 61810,
  kSenseMediumError = 61811,
  kSenseHardwareError = 61812,
  kSenseIllegalRequest = 61813,
  kSenseUnitAttention = 61814,
  kSenseAbortedCommand = 61815,
  kAscUnrecoveredReadError = 61820,
  kAscLecUncorrectable = 61821,
  kAscCircUnrecovered = 61822,
  kAscNoSeekComplete = 61823,
  kAscBecomingReady = 61824,
  kAscMediumNotPresent = 61825,
  kAscLbaOutOfRange = 61826,
  kAscIllegalModeForTrack = 61827,
  kAscInvalidOpcode = 61828,
  kAscMediumChanged = 61829,
  kAscReset = 61830,
  kAscInvalidField = 61831,
  // The figures of a copy's progress: bytes done of the whole, rate, time left.
  kCopyBytes = 61840,
  kCopyBytesRate = 61841,
  kCopyBytesRateLeft = 61842,
  kUnitBytes = 61843,
  kUnitKilobytes = 61844,
  kUnitMegabytes = 61845,
  kUnitGigabytes = 61846,
  kRatePerSecond = 61847,
  kRescuePassLabel = 61848,
  // The three states of a box, as assistive technology reads them.
  kBoxMarkedWords = 61700,
  kBoxPartlyMarkedWords = 61701,
  kBoxUnmarkedWords = 61702,
};

// The text of id in the current language; an id without a text gives "".
std::u16string LoadText(std::uint16_t id);

// LoadText(id) appended to out: in English without a copy of its own, for
// texts rebuilt at every step of a long process.
void AppendText(std::u16string& out, std::uint16_t id);

// The text of id in the current language with its placeholders %1 ... %9
// replaced by args, the first argument for %1; a placeholder without an
// argument stays as it stands. Texts built from parts of a sentence cannot be
// translated: a text with arguments is one whole sentence for the translator.
std::u16string FormatText(std::uint16_t id, std::initializer_list<std::u16string_view> args);
// The same in UTF-8, for the reasons the engine keeps as bytes (a path keeps
// its bytes as they are, whatever its encoding).
std::string FormatTextUtf8(std::uint16_t id, std::initializer_list<std::string_view> args);

// The built-in English text of id.
std::u16string EnglishText(std::uint16_t id);

// Replaces the source of LoadText (a translation); an empty function restores
// English. A source that has no text for an id falls back to English.
void SetTextSource(std::function<std::u16string(std::uint16_t)> source);

// Error-message codes of the program, as its error dialog numbers them.
enum class ErrorCode : int {
  kNotValidImage = 1,
  kNoMatchingEntry = 3,
  kNoMoreEntries = 4,
  kCdromNotFound = 5,
  kCannotCreateImage = 6,
  kCannotOpenImage = 7,
  kWriteProtected = 10,
  kNoDisc = 11,       // the drive holds no disc
  kDiscChanged = 12,  // the disc was changed while it was read
  kDriveGone = 13,    // the drive left while it was read
};

// The message of an error code; only the low 8 bits of code count, unknown codes
// give "".
std::u16string ErrorMessage(int code);

}  // namespace velmora::text
