#pragma once

#include <string>
#include <vector>

#include "recovery/RecoveryReport.h"

namespace velmora::disc {

// The texts of the message log's rows that tell what a recovery did, in the
// current language.

// "15 files saved in 23 folders", with "file" and "folder" for a count of one.
std::u16string SavedFilesText(std::uint64_t files, std::uint64_t folders);

// The row under a partly read file: its byte ranges that did not read, as the
// report writes them ("first-last"), the first few of them with the count of
// the others, so that a file with thousands of bad sectors has a row that fits.
std::u16string UnreadBytesText(const std::vector<ByteRange>& unreadable);

// The rows between the saved-files row and the end row, one for each kind of
// file not saved whole (partly read, not recovered, cut short by Stop) that
// there was: each with its count.
std::vector<std::u16string> ShortfallTexts(const RecoverySummary& summary);

}  // namespace velmora::disc
