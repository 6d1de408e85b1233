#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "entries/EntryTable.h"

namespace velmora::browse {

// The columns of the file list.
enum class ListColumn : int { kName = 0, kType = 1, kSize = 2, kDate = 3, kFileId = 4 };
inline constexpr int kListColumnCount = 5;

// The Size column: the byte count right-aligned in at least seven characters
// ("      0" for a folder).
std::u16string SizeText(const disc::Entry& entry);
// The Date column, "dd-mm-yyyy hh:mm:ss"; empty for an entry without a valid
// recording time (Root, a Session node, a damaged record).
std::u16string DateText(const disc::Entry& entry);
// The File ID column, in decimal.
std::u16string FileIdText(const disc::Entry& entry);

// Sorts the rows (entry indexes) of a listing by column. Name and Type compare
// their texts without regard to case (typeTexts: the words for a folder and a
// file in the current language); Size and File ID compare numbers; Date compares
// the whole date and time. Rows with equal keys keep their order. Returns false
// (and leaves the rows) for a column that does not exist.
struct TypeTexts {
  std::u16string folder;
  std::u16string file;
};
bool SortRows(const disc::EntryTable& table, std::vector<std::size_t>& rows, int column,
              bool ascending, const TypeTexts& typeTexts);

}  // namespace velmora::browse
