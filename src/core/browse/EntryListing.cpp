#include "browse/EntryListing.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <utility>

#include "iso9660/RecordingTime.h"
#include "text/NameEscape.h"
#include "text/Utf.h"

namespace velmora::browse {
namespace {

using disc::Entry;
using disc::EntryTable;

constexpr std::string_view kUnknownFolder = "?";

// Appends in place: a path is built once, name by name, never copied per level.
void Join(std::string& folder, const std::u16string& name, bool escaped) {
  if (!folder.empty()) folder += '/';
  folder += escaped ? text::EscapeName(text::ToUtf8(name)) : text::ToUtf8(name);
}

const char* TypeCode(const Entry& entry) {
  return entry.IsFolder() ? "d" : entry.IsLink() ? "l" : "f";
}

// A Rock Ridge mode as six octal digits, type and permission bits: "100644".
std::string OctalMode(std::uint32_t mode) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%06o", static_cast<unsigned>(mode));
  return digits;
}

using Escape = std::pair<char, std::string_view>;

constexpr Escape kFieldEscapes[] = {{'\t', "\\t"}, {'\n', "\\n"}, {'\r', "\\r"}, {'\\', "\\\\"}};
constexpr Escape kJsonEscapes[] = {{'"', "\\\""}, {'\\', "\\\\"}, {'\b', "\\b"}, {'\f', "\\f"},
                                   {'\n', "\\n"}, {'\r', "\\r"},  {'\t', "\\t"}};

// The escape of c in table, or nothing when c stands for itself.
std::optional<std::string_view> EscapeOf(char c, std::span<const Escape> table) {
  for (const auto& [raw, escaped] : table) {
    if (raw == c) return escaped;
  }
  return std::nullopt;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (auto escaped = EscapeOf(c, kJsonEscapes)) {
      out += *escaped;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      // The other control characters have no short form in JSON.
      char escapedControl[8];
      std::snprintf(escapedControl, sizeof escapedControl, "\\u%04x",
                    static_cast<unsigned>(static_cast<unsigned char>(c)));
      out += escapedControl;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The listing goes out in blocks of this size, not field by field.
constexpr std::size_t kOutputBlock = 1 << 16;

// A folder's path is kept for the entries below it while the paths kept stay
// below this: a hostile disc of deep folders could otherwise make the kept
// paths as large as its whole listing.
constexpr std::size_t kKeptPathBytes = 32u << 20;

void Flush(std::string& buffer, std::ostream& out) {
  out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  buffer.clear();
}

// value with at least width digits, zero-padded, as printf's %0*u.
void AppendPadded(std::string& out, std::uint32_t value, int width) {
  if (width == 2 && value < 100) {
    out += static_cast<char>('0' + value / 10);
    out += static_cast<char>('0' + value % 10);
    return;
  }
  char digits[16];
  char* end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
  for (auto length = static_cast<int>(end - digits); length < width; ++length) out += '0';
  out.append(digits, end);
}

template <typename Number>
void AppendNumber(std::string& out, Number value) {
  char digits[24];
  out.append(digits, std::to_chars(std::begin(digits), std::end(digits), value).ptr);
}

// FormatEntryDate(entry) appended to out.
void AppendEntryDate(std::string& out, const Entry& entry) {
  // RecordingSeconds holds every field in range, the year from 1 on.
  if (!disc::RecordingSeconds(entry)) return;
  AppendPadded(out, static_cast<std::uint32_t>(entry.year), 4);
  out += '-';
  AppendPadded(out, static_cast<std::uint32_t>(entry.month), 2);
  out += '-';
  AppendPadded(out, static_cast<std::uint32_t>(entry.day), 2);
  out += ' ';
  AppendPadded(out, entry.hour, 2);
  out += ':';
  AppendPadded(out, entry.minute, 2);
  out += ':';
  AppendPadded(out, entry.second, 2);
}

}  // namespace

// The paths of a whole listing: each entry's path is its folder's path, kept
// from the first entry below that folder, and its own name, so that a listing
// converts and escapes every name once, not once per level below it.
class EntryListing::PathCache {
 public:
  PathCache(const EntryListing& listing, bool escaped)
      : listing_(listing), escaped_(escaped), kept_(listing.parents_.size(), kNotKept) {}

  // Appends listing.PathOf(index) (EscapedPathOf when escaped) to out.
  void Append(std::string& out, std::size_t index) {
    chain_.clear();
    std::size_t top = index;
    for (;;) {
      chain_.push_back(top);
      const std::size_t parent = listing_.parents_[top];
      if (parent == EntryTable::kNone || parent == listing_.root_ || kept_[parent] != kNotKept) break;
      top = parent;
    }
    const std::size_t start = out.size();
    const std::size_t parent = listing_.parents_[top];
    if (parent == EntryTable::kNone) {
      out += kUnknownFolder;
    } else if (parent != listing_.root_) {
      out += paths_[kept_[parent]];
    }
    for (auto it = chain_.rbegin(); it != chain_.rend(); ++it) {
      // Joined as BuildPath joins them: a "/" only after something.
      if (out.size() > start) out += '/';
      name_.clear();
      text::AppendUtf8(name_, listing_.table_[*it].name);
      if (escaped_) {
        text::AppendEscapedName(out, name_);
      } else {
        out += name_;
      }
      if (listing_.table_[*it].IsFolder() && keptBytes_ < kKeptPathBytes) {
        kept_[*it] = paths_.size();
        paths_.emplace_back(out, start);
        keptBytes_ += out.size() - start;
      }
    }
  }

 private:
  static constexpr std::size_t kNotKept = static_cast<std::size_t>(-1);

  const EntryListing& listing_;
  bool escaped_;
  std::vector<std::size_t> kept_;  // per entry: its place in paths_, or kNotKept
  std::vector<std::string> paths_;
  std::size_t keptBytes_ = 0;
  std::vector<std::size_t> chain_;
  std::string name_;
};

EntryListing::EntryListing(const EntryTable& table)
    : table_(table), parents_(table.size(), EntryTable::kNone) {
  if (!table.empty() && table[0].parentId < 0) root_ = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const Entry& entry = table[i];
    if (i == root_ || entry.parentId < 0) continue;
    // The scan searched a multi-session disc's parents from the entry's Session
    // node on, so that a folder of an earlier session with the same File ID is
    // passed over; a single-session disc has no Session nodes.
    std::size_t from = table.SessionNodeIndex(entry.session);
    if (from == EntryTable::kNone) from = 0;
    parents_[i] = table.FindFolder(static_cast<std::uint32_t>(entry.parentId), from);
  }
  CutLoops();
}

// The scan adds a folder only below one already in the table, so no chain of
// parents loops there; a table built otherwise might. The folder that closes a
// loop is taken as one whose parent is missing, so that every walk up ends.
void EntryListing::CutLoops() {
  enum class Mark : std::uint8_t { kNew, kOnChain, kDone };
  std::vector<Mark> marks(parents_.size(), Mark::kNew);
  for (std::size_t start = 0; start < parents_.size(); ++start) {
    std::size_t at = start;
    std::size_t last = EntryTable::kNone;
    while (at != EntryTable::kNone && marks[at] == Mark::kNew) {
      marks[at] = Mark::kOnChain;
      last = at;
      at = parents_[at];
    }
    if (at != EntryTable::kNone && marks[at] == Mark::kOnChain) parents_[last] = EntryTable::kNone;
    for (at = start; at != EntryTable::kNone && marks[at] == Mark::kOnChain; at = parents_[at]) {
      marks[at] = Mark::kDone;
    }
  }
}

// Walks up the parent indexes found once in the constructor: the cost of a
// path is the length of the path, and memory stays one index per entry however
// deep a disc nests its folders.
std::string EntryListing::PathOf(std::size_t index) const { return BuildPath(index, false); }

std::string EntryListing::EscapedPathOf(std::size_t index) const { return BuildPath(index, true); }

std::string EntryListing::BuildPath(std::size_t index, bool escaped) const {
  std::vector<std::size_t> chain;
  std::size_t at = index;
  for (; at != EntryTable::kNone && at != root_; at = parents_[at]) chain.push_back(at);
  std::string path = at == EntryTable::kNone ? std::string(kUnknownFolder) : std::string();
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) Join(path, table_[*it].name, escaped);
  return path;
}

std::string FormatEntryDate(const Entry& entry) {
  // A time that is no real calendar time (a damaged record) is shown as none.
  if (!disc::RecordingSeconds(entry)) return {};
  char date[96];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", entry.year, entry.month,
                entry.day, entry.hour, entry.minute, entry.second);
  return date;
}

std::string FormatEntryInstant(const Entry& entry) {
  if (!disc::RecordingSeconds(entry)) return {};
  const int offset = disc::GmtOffsetInRange(entry.gmtOffset) ? entry.gmtOffset : 0;
  const int minutes = (offset < 0 ? -offset : offset) * 15;
  char instant[96];
  std::snprintf(instant, sizeof instant, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", entry.year,
                entry.month, entry.day, entry.hour, entry.minute, entry.second,
                offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return instant;
}

std::string EscapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (auto escaped = EscapeOf(c, kFieldEscapes)) {
      out += *escaped;
    } else {
      out += c;
    }
  }
  return out;
}

void WriteTsvListing(const EntryTable& table, std::ostream& out) {
  EntryListing listing(table);
  EntryListing::PathCache paths(listing, true);
  std::string buffer;
  buffer.reserve(kOutputBlock + 4096);
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i == listing.root()) continue;
    const Entry& entry = table[i];
    paths.Append(buffer, i);
    buffer += '\t';
    buffer += TypeCode(entry);
    buffer += '\t';
    AppendNumber(buffer, entry.size);
    buffer += '\t';
    AppendEntryDate(buffer, entry);
    buffer += '\t';
    AppendNumber(buffer, entry.fileId);
    if (entry.IsLink()) {
      buffer += '\t';
      buffer += text::EscapePath(text::ToUtf8(entry.linkTarget));
    }
    buffer += '\n';
    if (buffer.size() >= kOutputBlock) Flush(buffer, out);
  }
  Flush(buffer, out);
}

void WriteJsonListing(const EntryTable& table, std::ostream& out) {
  EntryListing listing(table);
  out << '[';
  bool first = true;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i == listing.root()) continue;
    const Entry& entry = table[i];
    const std::string date = FormatEntryDate(entry);
    const std::string instant = FormatEntryInstant(entry);
    out << (first ? "\n" : ",\n") << "{\"path\":" << JsonString(listing.PathOf(i)) << ",\"type\":\""
        << TypeCode(entry) << "\",\"size\":" << entry.size
        << ",\"date\":" << (date.empty() ? "null" : JsonString(date))
        << ",\"instant\":" << (instant.empty() ? "null" : JsonString(instant))
        << ",\"extent\":" << entry.fileId
        << ",\"parent\":" << entry.parentId << ",\"session\":" << unsigned{entry.session}
        << ",\"mode\":" << (entry.mode == 0 ? "null" : JsonString(OctalMode(entry.mode)));
    if (entry.IsLink()) out << ",\"target\":" << JsonString(text::ToUtf8(entry.linkTarget));
    out << '}';
    first = false;
  }
  out << (first ? "]\n" : "\n]\n");
}

void WriteTreeListing(const EntryTable& table, std::ostream& out) {
  EntryListing listing(table);
  const std::size_t n = table.size();
  // Children per folder in table order, laid out in one array (a counting sort
  // by parent): a few flat vectors, not one per folder.
  std::vector<std::size_t> firstChild(n + 1, 0);
  for (std::size_t i = 0; i < n; ++i) {
    if (listing.ParentOf(i) != EntryTable::kNone) ++firstChild[listing.ParentOf(i) + 1];
  }
  for (std::size_t i = 0; i < n; ++i) firstChild[i + 1] += firstChild[i];
  std::vector<std::size_t> children(firstChild[n]);
  std::vector<std::size_t> filled(firstChild.begin(), firstChild.end() - 1);
  for (std::size_t i = 0; i < n; ++i) {
    if (listing.ParentOf(i) != EntryTable::kNone) children[filled[listing.ParentOf(i)]++] = i;
  }

  std::vector<bool> printed(n, false);
  // Depth first with a stack of its own: a hostile disc can nest folders deeper
  // than the call stack would take.
  auto printSubtree = [&](std::size_t top, std::size_t depth) {
    std::vector<std::pair<std::size_t, std::size_t>> stack{{top, depth}};
    while (!stack.empty()) {
      auto [index, level] = stack.back();
      stack.pop_back();
      if (printed[index]) continue;
      printed[index] = true;
      if (index != listing.root()) {
        const Entry& entry = table[index];
        out << std::string(2 * level, ' ') << text::EscapeName(text::ToUtf8(entry.name));
        if (entry.IsFolder()) {
          out << "/\n";
        } else if (entry.IsLink()) {
          out << " -> " << text::EscapePath(text::ToUtf8(entry.linkTarget)) << '\n';
        } else {
          out << "  " << entry.size << '\n';
        }
      }
      std::size_t childLevel = index == listing.root() ? level : level + 1;
      for (std::size_t c = firstChild[index + 1]; c > firstChild[index]; --c) {
        stack.emplace_back(children[c - 1], childLevel);
      }
    }
  };

  if (listing.root() != EntryTable::kNone) printSubtree(listing.root(), 0);
  bool unknownShown = false;
  auto printUnder = [&](std::size_t index) {
    if (!unknownShown) out << kUnknownFolder << "/\n";
    unknownShown = true;
    printSubtree(index, 1);
  };
  // Entries whose folder is missing first, then whatever a loop of folders kept
  // out of reach, so that every entry is listed once.
  for (std::size_t i = 0; i < n; ++i) {
    if (!printed[i] && listing.ParentOf(i) == EntryTable::kNone && i != listing.root()) {
      printUnder(i);
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (!printed[i]) printUnder(i);
  }
}

}  // namespace velmora::browse
