#include "text/StringTable.h"

#include <unordered_map>
#include <utility>

#include "text/Utf.h"

namespace velmora::text {
namespace {

const std::unordered_map<std::uint16_t, std::u16string>& EnglishTable() {
  static const std::unordered_map<std::uint16_t, std::u16string> table = {
      {kActivityColumn, u"Activity"},
      {kTextColumn, u"Text"},
      {kStatusColumn, u"Status"},
      {kDiscTotalsInitial, u"Total 0 Bytes in 0 Files in 0 Folders"},
      {kMarkedTotalsInitial, u"Marked 0 Bytes in 0 Files in 0 Folders"},
      {kProductTitle, u"Orvane Velmora CDROM 2.0 "},
      {kSameDriveWarning1, u"Saving files on to the same logical drive that contains your lost data"},
      {kSameDriveWarning2, u"can cause disk overwrite and result in permanent data loss"},
      {kCannotExit1, u"Can not exit"},
      {kCannotExit2, u"Stop current operation before exiting Orvane Velmora CDROM"},
      {kInsertCdrom, u"Insert CDROM To Start Process"},
      {kRootName, u"Root"},
      {kEntriesFound, u"Entries Found"},
      {kReadingLabel, u"Reading.."},
      {kTotalPrefix, u"Total "},
      {kBytesIn, u"Bytes in"},
      {kFilesIn, u"Files in"},
      {kFolders, u"Folders"},
      {kMarkedPrefix, u"Marked"},
      {kKilobytesIn, u"KB in"},
      {kMegabytesIn, u"MB in"},
      {kDecimalSeparator, u"."},
      {kGigabytesIn, u"GB in"},
      {kChooseDestination, u"Select the Destination folder for Saving Files"},
      {kFilesRecovered, u"Files Recovered"},
      {kImageSignature, u"12345abbgtpogpkicupog6789"},
      {kImageNamePrefix, u"CD Image "},
      {kSaveImageTitle, u"Save Image to File"},
      {kSaveImageFilter, u"Image File(*.cd)"},
      {kOpenImageFilter, u"Image File(*.cd)|*.cd||"},
      {kOpenImageTitle, u"Open CDROM Image from"},
      {kInfo, u"Info"},
      {kCreatingTreeStructure, u"Creating Tree Structure"},
      {kProcessStarted, u"Process Started"},
      {kProcessAborted, u"Process Aborted"},
      {kProcessCompleted, u"Process Completed"},
      {kSavingFilesProcess, u"Saving Files Process"},
      {kRecoveringFile, u"Recovering File"},
      {kFileRecovered, u"File Recovered Successfully"},
      {kFileRecoveredPartially, u"File Recovered Partially"},
      {kFileRecoveryFailure, u"File Recoverey Failure"},
      {kImageCreation, u"CD Image Creation"},
      {kProblemReadingSector, u"Problem Reading Sector No."},
      {kUnableToReadSector, u"Unable to Read Sector No."},
      {kDirType, u"Dir"},
      {kFileType, u"File"},
      {kRecoverSelectedMenu, u"Recover Selected"},
      {kRecoverAllMenu, u"Recover All"},
      {kViewLargeIconsMenu, u"View Large Icons"},
      {kViewSmallIconsMenu, u"View Small Icons"},
      {kViewListMenu, u"List"},
      {kViewDetailsMenu, u"Details"},
      {kNameColumn, u"Name"},
      {kTypeColumn, u"Type"},
      {kSizeColumn, u"Size"},
      {kDateColumn, u"Date"},
      {kFileIdColumn, u"File ID"},
      {kParentIdColumn, u"Parent ID"},
      {kNotValidImage, u"Not a valid image file to open. "},
      {kNoMatchingEntry, u"No matching entry found in the directory tree displayed"},
      {kNoMoreEntries, u"No more entries are available in the directory tree displayed"},
      {kCdromNotFound, u"CDROM not found / CDROM entirely corrupted"},
      {kCannotCreateImage, u"Unable to create/Open file for storing image"},
      {kCannotOpenImage, u"Unable to Open Image File"},
      {kWriteProtected, u"Error creating file, disk may be write protected"},
      {kLogFileName, u"Orvane Velmora CDROM log"},
      {kSaveLogTitle, u"Save Log To File"},
      {kTextDocument, u"Text Document"},
      {kLogReportHeading, u"Message Log Report of Orvane Velmora CDROM"},
      {kReadingSector, u"Reading Sector"},
      {kAboutNotice, u"Copyright (C) 2026 Orvane Information Systems Ltd."},
      {kLicenceNotice, u"Free software under the GNU General Public License, version 3 or later."},
      {kStopQuestion2,
       u"This process cannot be resumed from current state and has to be restarted"},
      {kStopQuestion1, u"Stop current process ?"},
      {kFolderNotRead, u"Folder could not be read"},
      {kFolderReadInPart, u"Folder read in part"},
      {kFolderNoDirectory, u"Folder holds no directory records"},
      {kFolderPastEnd, u"Folder lies past the end of the disc"},
      {kDiscHoldsNoFiles, u"The disc holds no files"},
      {kGmtOffsetsIgnored, u"Recording times with an offset from GMT out of range, taken as GMT:"},
      {kJolietTreeUnreadable, u"The Joliet tree could not be read; reading the ISO 9660 tree"},
      {kPrimaryTreeUnreadable, u"The file system tree could not be read; searching the sectors"},
      {kSector, u"sector"},
      {kFolderFromPrimary, u"Entries taken from the ISO 9660 tree"},
      {kNamesAddedFromPrimary, u"Names added from the ISO 9660 tree:"},
      {kFolderFromJoliet, u"Entries taken from the Joliet tree"},
      {kFolderIsVolumeDescriptor, u"Folder record points at a volume descriptor"},
      {kSessionsOverlap,
       u"The sessions of the track list overlap; each file is listed under the first session that "
       u"holds it"},
      {kRockRidgeUnknown,
       u"The root folder did not read: Rock Ridge names, links and modes, if the disc has them, "
       u"could not be read"},
      {kNamesRockRidge, u"Names shown: Rock Ridge"},
      {kNamesJoliet, u"Names shown: Joliet"},
      {kNamesPrimary, u"Names shown: ISO 9660"},
      {kRockRidgeDamaged, u"Damaged Rock Ridge entries; shown under a safe name"},
      {kRockRidgeFolderLoop, u"A relocated folder points back up the tree; not walked again"},
      {kRockRidgeFolderNotHome, u"Relocated folder not reached from its real place; shown where it was moved"},
      {kLinkCreated, u"Symbolic Link Created"},
      {kSessionsOneAfterAnother,
       u"Sessions found by their volume descriptors, one after another:"},
      {kSessionsNewestCopied,
       u"Sessions found by their volume descriptors, the newest also at sector 16:"},
      {kSessionCutToImage, u"A session runs past the end of the image; read as far as it goes:"},
      {kDescriptorsNotSession,
       u"Volume descriptors not taken as a session (their root folder lies outside their volume):"},
      {kSessionsPastLimit, u"More sessions than a disc holds; the sessions after the 99th are not read"},
      {kSessionsWithoutPrimary,
       u"Primary volume descriptor damaged; the session was found from its supplementary descriptor (its names only):"},
      {kReasonDoesNotExist, u"%1 does not exist"},
      {kReasonNoDisc, u"%1: no disc in the drive"},
      {kReasonDeviceAccess,
       u"%1: %2; the user needs read access to the device (for example membership in the cdrom group)"},
      {kReasonFileAccess, u"%1: %2; check the file's permissions"},
      {kReasonSystem, u"%1: %2"},
      {kReasonTrackListDamaged, u"%1: the image's track list is damaged"},
      {kReasonOnlyTrackList, u"%1: the image holds no sector, only its track list"},
      {kReasonSessionsPastImage,
       u"%1: every session of the image's track list lies past its %2 sectors"},
      {kReasonSessionsCutToImage,
       u"%1: the image's track list names sectors past its %2 sectors; %3 session(s) cut to the image"},
      {kReasonBackwardEnds,
       u"%1: in the image's track list %2 session(s) end before they start, read up to the next session or the image's end"},
      {kReasonAlsoBackwardEnds,
       u"%1; %2 session(s) end before they start, read up to the next session or the image's end"},
      {kReasonNotADiscImage,
       u"%1: not a disc image (no image trailer and no ISO 9660 volume descriptor)"},
      {kReasonNothingFound, u"%1: no image trailer, no volume descriptor, and no directory found"},
      {kReasonTrailerCut,
       u"%1: the image's last block is not a whole track list (damaged or cut); read as a plain image"},
      {kReasonTrailerCutOneSession,
       u"%1: the image's last block is not a whole track list (damaged or cut); read as a plain image of one session"},
      {kReasonCannotCreateImage, u"cannot create the image %1: %2"},
      {kReasonCannotWriteImage, u"cannot write the image %1 after %2 sectors: %3"},
      {kReasonSizeUnknown, u"%1: the size of the file is unknown"},
      {kReasonFileEndedEarly, u"%1: the file ended early"},
      {kReasonTrailerTrackListDamaged, u"%1: the track list in the image's last block is damaged"},
      {kSavedFilesInFolders, u"%1 files saved in %2 folders"},
      {kSavedOneFileInFolders, u"%1 file saved in %2 folders"},
      {kSavedFilesInOneFolder, u"%1 files saved in %2 folder"},
      {kSavedOneFileInOneFolder, u"%1 file saved in %2 folder"},
      {kFilesReadInPart, u"Files read only in part (the bytes not read are zeros): %1"},
      {kFilesNotRecovered, u"Files not recovered: %1"},
      {kFilesCutShortByStop, u"Files cut short when the process was stopped: %1"},
      {kProcessCompletedWithErrors, u"Process Completed with Errors"},
      {kUnreadBytes, u"Bytes not read (zeros in the file): %1"},
      {kMoreUnreadRanges, u"%1 and %2 more ranges"},
      {kImageMapUnread,
       u"The image's map gives %1 bytes in %2 areas as never read; they are taken as unreadable"},
      {kReasonMapLine,
       u"%1: line %2 is not a line of a mapfile; the image's map is damaged (move it away to read "
       u"every block as data)"},
      {kReasonMapUnreadable,
       u"%1: %2; the image's map cannot be read (move it away to read every block as data)"},
      {kReasonMapTooLarge, u"too large for a map"},
      {kReasonFaultsNotMapfile, u"%1: not a ddrescue mapfile (line %2)"},
      {kReasonCannotWriteMap, u"cannot write the map of the image %1: %2"},
      {kRescueImaging, u"Rescue Imaging"},
      {kRescueResumed, u"Resumed from the map beside the image: %1 bytes were read before"},
      {kRescuePassEnded,
       u"Pass %1 (%2) done: %3 bytes rescued, %4 bytes bad in %5 areas, %6 bytes left to try"},
      {kRescuePassWhatMatters, u"what matters first"},
      {kRescuePassCopying, u"copying"},
      {kRescuePassTrimming, u"trimming"},
      {kRescuePassScraping, u"scraping"},
      {kRescuePassRetrying, u"retrying"},
      {kRescuePassMerging, u"merging"},
      {kReasonNoMapToMerge, u"%1 has no map beside it: there is nothing to merge into"},
      {kReasonRescueOtherDisc,
       u"%1 and its map are of another disc (the size, the track list or the primary volume "
       u"descriptor differ)"},
      {kReasonMergeUnchecked,
       u"%1: the primary volume descriptor does not read in both copies, so they cannot be "
       u"told to be of one disc"},
      {kRescueImageFilter, u"Rescue (several passes) (*.cd)"},
      {kDriveLabel, u"Drive:"},
      {kFirmwareLabel, u"firmware"},
      {kWaitingForDrive, u"Waiting for the drive to become ready"},
      {kDriveNotReady, u"The drive did not become ready in time; reading all the same"},
      {kNoDiscInDrive, u"No disc in the drive. Insert a disc and try again"},
      {kDiscChanged,
       u"The disc in the drive was changed. The process stopped; nothing of the other disc was read"},
      {kDriveGone,
       u"The drive is no longer there (unplugged or off the bus). The process stopped; what was saved is kept"},
      {kDriveTimeOut, u"The drive did not answer in time (time-out)"},
      {kReadCdRefused, u"The drive refuses READ CD; reading with READ(10)"},
      {kSenseLabel, u"Sense"},
      {kSenseNotReady, u"Not ready"},
      {kSenseMediumError, u"Medium error"},
      {kSenseHardwareError, u"Hardware error"},
      {kSenseIllegalRequest, u"Illegal request"},
      {kSenseUnitAttention, u"Unit attention"},
      {kSenseAbortedCommand, u"Aborted command"},
      {kAscUnrecoveredReadError, u"unrecovered read error"},
      {kAscLecUncorrectable, u"L-EC uncorrectable error"},
      {kAscCircUnrecovered, u"CIRC unrecovered error"},
      {kAscNoSeekComplete, u"no seek complete"},
      {kAscBecomingReady, u"becoming ready"},
      {kAscMediumNotPresent, u"medium not present"},
      {kAscLbaOutOfRange, u"logical block address out of range"},
      {kAscIllegalModeForTrack, u"illegal mode for this track"},
      {kAscInvalidOpcode, u"invalid command operation code"},
      {kAscMediumChanged, u"medium may have changed"},
      {kAscReset, u"power on or reset occurred"},
      {kAscInvalidField, u"invalid field in command"},
      {kCopyBytes, u"%1 of %2 %3"},
      {kCopyBytesRate, u"%1 of %2 %3, %4"},
      {kCopyBytesRateLeft, u"%1 of %2 %3, %4, %5 left"},
      {kUnitBytes, u"bytes"},
      {kUnitKilobytes, u"KB"},
      {kUnitMegabytes, u"MB"},
      {kUnitGigabytes, u"GB"},
      {kRatePerSecond, u"%1 %2/s"},
      {kRescuePassLabel, u"Pass %1 (%2): %3 bad areas"},
      {kBoxMarkedWords, u"Marked for recovery"},
      {kBoxPartlyMarkedWords, u"Partly marked for recovery"},
      {kBoxUnmarkedWords, u"Not marked for recovery"},
  };
  return table;
}

std::function<std::u16string(std::uint16_t)>& CurrentSource() {
  static std::function<std::u16string(std::uint16_t)> source;
  return source;
}

}  // namespace

std::u16string EnglishText(std::uint16_t id) {
  const auto& table = EnglishTable();
  auto it = table.find(id);
  return it == table.end() ? std::u16string() : it->second;
}

std::u16string LoadText(std::uint16_t id) {
  if (const auto& source = CurrentSource()) {
    std::u16string translated = source(id);
    if (!translated.empty()) return translated;
  }
  return EnglishText(id);
}

void AppendText(std::u16string& out, std::uint16_t id) {
  if (const auto& source = CurrentSource()) {
    const std::u16string translated = source(id);
    if (!translated.empty()) {
      out += translated;
      return;
    }
  }
  const auto& table = EnglishTable();
  if (const auto it = table.find(id); it != table.end()) out += it->second;
}

namespace {

// Copies text to out with %1 ... %9 replaced by args; Char is char16_t or char.
template <typename Char>
void Substitute(std::basic_string_view<Char> text,
                std::initializer_list<std::basic_string_view<Char>> args,
                std::basic_string<Char>& out) {
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const Char c = text[at];
    if (c == Char('%') && at + 1 < text.size() && text[at + 1] >= Char('1') &&
        text[at + 1] <= Char('9')) {
      const auto number = static_cast<std::size_t>(text[at + 1] - Char('1'));
      if (number < args.size()) {
        out += *(args.begin() + number);
        ++at;
        continue;
      }
    }
    out += c;
  }
}

}  // namespace

std::u16string FormatText(std::uint16_t id, std::initializer_list<std::u16string_view> args) {
  const std::u16string text = LoadText(id);
  std::u16string out;
  Substitute<char16_t>(text, args, out);
  return out;
}

std::string FormatTextUtf8(std::uint16_t id, std::initializer_list<std::string_view> args) {
  const std::string text = ToUtf8(LoadText(id));
  std::string out;
  Substitute<char>(text, args, out);
  return out;
}

void SetTextSource(std::function<std::u16string(std::uint16_t)> source) {
  CurrentSource() = std::move(source);
}

std::u16string ErrorMessage(int code) {
  switch (static_cast<ErrorCode>(code & 0xFF)) {
    case ErrorCode::kNotValidImage: return LoadText(kNotValidImage);
    case ErrorCode::kNoMatchingEntry: return LoadText(kNoMatchingEntry);
    case ErrorCode::kNoMoreEntries: return LoadText(kNoMoreEntries);
    case ErrorCode::kCdromNotFound: return LoadText(kCdromNotFound);
    case ErrorCode::kCannotCreateImage: return LoadText(kCannotCreateImage);
    case ErrorCode::kCannotOpenImage: return LoadText(kCannotOpenImage);
    case ErrorCode::kWriteProtected: return LoadText(kWriteProtected);
    case ErrorCode::kNoDisc: return LoadText(kNoDiscInDrive);
    case ErrorCode::kDiscChanged: return LoadText(kDiscChanged);
    case ErrorCode::kDriveGone: return LoadText(kDriveGone);
  }
  return {};
}

}  // namespace velmora::text
