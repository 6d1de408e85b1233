#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "entries/EntryTable.h"
#include "select/FileMask.h"

namespace velmora::select {

// The entry table a mask shows, next to the complete one it was made from.
struct MaskedTable {
  disc::EntryTable table;
  // For every entry of table, its index in the complete table.
  std::vector<std::size_t> sourceIndex;
  // What the masked tree holds: bytes and count of its files, count of its
  // folders (Root and Session nodes not counted).
  std::uint64_t byteTotal = 0;
  std::size_t fileCount = 0;
  std::size_t folderCount = 0;
};

// The tree side of a mask: Root, the Session nodes of a multi-session disc,
// every file of complete that passes mask and whose folders reach Root, and
// those folders, in the order of complete. Each entry keeps its fields and
// check state, and finds its folder in the new table as it did in complete.
// Always made from the complete table, so masks never stack; a mask no file
// passes leaves Root (and the Session nodes) alone.
MaskedTable ApplyMask(const disc::EntryTable& complete, const FileMask& mask);

// Before the masked table is dropped (File Unmask, another mask), the marks
// made in it go back to the entries of complete they were made from.
void CarryMarksBack(const MaskedTable& masked, disc::EntryTable& complete);

// Gives every folder that holds entries the state its contents call for:
// marked when all are marked, unmarked when all are unmarked, partly marked
// otherwise. Run after marks were carried from one table to the other, where
// a folder may show fewer (or more) entries than it held when it was marked.
void RecomputeFolderMarks(disc::EntryTable& table);

}  // namespace velmora::select
