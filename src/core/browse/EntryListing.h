#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "entries/EntryTable.h"

namespace velmora::browse {

// Where every entry of a table sits: the folder that holds it, looked up once
// per entry as the scan looked it up, and its path below Root. Listing the
// whole table costs what the paths written cost, never a search per ancestor.
class EntryListing {
 public:
  explicit EntryListing(const disc::EntryTable& table);

  // Index of Root, or kNone for a table without it.
  std::size_t root() const { return root_; }
  // The folder that holds entry index; kNone when it is not in the table.
  std::size_t ParentOf(std::size_t index) const { return parents_[index]; }
  // The names below Root joined by "/", in UTF-8 ("Session k/..." on a
  // multi-session disc); "?" stands for a folder that is not in the table.
  std::string PathOf(std::size_t index) const;
  // PathOf with each name escaped (text::EscapeName): a name holding "/", a
  // line break or NUL cannot pass for another path.
  std::string EscapedPathOf(std::size_t index) const;

  class PathCache;

 private:
  void CutLoops();
  std::string BuildPath(std::size_t index, bool escaped) const;

  const disc::EntryTable& table_;
  std::size_t root_ = disc::EntryTable::kNone;
  std::vector<std::size_t> parents_;
};

// The recording time of an entry as recorded, "YYYY-MM-DD hh:mm:ss",
// zero-padded; empty when the fields are no real date and time.
std::string FormatEntryDate(const disc::Entry& entry);

// The recorded time with its offset from GMT in ISO 8601,
// "2020-01-15T17:30:00+05:30"; empty when the fields are no real date and time.
std::string FormatEntryInstant(const disc::Entry& entry);

// A tab, line feed, carriage return or backslash as \t, \n, \r, \\, so that a
// name from the disc keeps to its field and its line.
std::string EscapeField(std::string_view text);

// Every entry but Root in table order, one line each:
// path TAB type (d, f, or l for a symbolic link) TAB size TAB date TAB extent,
// each name of the path escaped (EscapedPathOf); a link's line goes on with
// TAB and its target, escaped as a path (text::EscapePath).
void WriteTsvListing(const disc::EntryTable& table, std::ostream& out);

// Every entry but Root in table order, as one JSON array of objects
// {path, type, size, date, instant, extent, parent, session, mode}, and for a
// symbolic link (type "l") also target; parent is the Parent ID, date the time
// as recorded and instant the same with its offset from GMT (both null when
// the disc's fields are no real time); mode the Rock Ridge mode as six octal
// digits ("100644"), null when the disc records none.
void WriteJsonListing(const disc::EntryTable& table, std::ostream& out);

// The folder tree below Root, two blanks of indent per level, folders ending in
// "/", links followed by " -> " and their target, files by their size.
// Entries whose folder is not in the table follow under a "?/" line.
void WriteTreeListing(const disc::EntryTable& table, std::ostream& out);

}  // namespace velmora::browse
