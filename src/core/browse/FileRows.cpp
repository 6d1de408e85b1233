#include "browse/FileRows.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "browse/NameOrder.h"
#include "iso9660/RecordingTime.h"

namespace velmora::browse {
namespace {

std::u16string Widen(const char* text) {
  std::u16string wide;
  for (; *text; ++text) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return wide;
}

auto DateKey(const disc::Entry& e) {
  return std::make_tuple(e.year, e.month, e.day, e.hour, e.minute, e.second);
}

template <typename Less>
void StableSort(std::vector<std::size_t>& rows, bool ascending, Less less) {
  if (ascending) {
    std::stable_sort(rows.begin(), rows.end(), less);
  } else {
    std::stable_sort(rows.begin(), rows.end(),
                     [&](std::size_t a, std::size_t b) { return less(b, a); });
  }
}

}  // namespace

std::u16string SizeText(const disc::Entry& entry) {
  char text[24];
  std::snprintf(text, sizeof text, "%7lu", static_cast<unsigned long>(entry.size));
  return Widen(text);
}

std::u16string DateText(const disc::Entry& entry) {
  // Root, the Session nodes and records whose time is no calendar time have
  // none to show, as the command-line listing shows none.
  if (!disc::RecordingSeconds(entry)) return {};
  char text[96];
  std::snprintf(text, sizeof text, "%.2d-%.2d-%d %.2d:%.2d:%.2d", entry.day, entry.month,
                entry.year, entry.hour, entry.minute, entry.second);
  return Widen(text);
}

std::u16string FileIdText(const disc::Entry& entry) {
  char text[16];
  std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(entry.fileId));
  return Widen(text);
}

bool SortRows(const disc::EntryTable& table, std::vector<std::size_t>& rows, int column,
              bool ascending, const TypeTexts& typeTexts) {
  auto entry = [&](std::size_t index) -> const disc::Entry& { return table[index]; };
  switch (static_cast<ListColumn>(column)) {
    case ListColumn::kName:
      StableSort(rows, ascending, [&](std::size_t a, std::size_t b) {
        return CompareNamesIgnoringCase(entry(a).name, entry(b).name) < 0;
      });
      return true;
    case ListColumn::kType: {
      auto word = [&](std::size_t i) -> const std::u16string& {
        return entry(i).IsFolder() ? typeTexts.folder : typeTexts.file;
      };
      StableSort(rows, ascending, [&](std::size_t a, std::size_t b) {
        return CompareNamesIgnoringCase(word(a), word(b)) < 0;
      });
      return true;
    }
    case ListColumn::kSize:
      StableSort(rows, ascending,
                 [&](std::size_t a, std::size_t b) { return entry(a).size < entry(b).size; });
      return true;
    case ListColumn::kDate:
      StableSort(rows, ascending, [&](std::size_t a, std::size_t b) {
        return DateKey(entry(a)) < DateKey(entry(b));
      });
      return true;
    case ListColumn::kFileId:
      StableSort(rows, ascending,
                 [&](std::size_t a, std::size_t b) { return entry(a).fileId < entry(b).fileId; });
      return true;
  }
  return false;
}

}  // namespace velmora::browse
