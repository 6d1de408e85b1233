#pragma once

#include <QString>
#include <cstdint>

namespace velmora::gui {

// The string-table text of id in the current language.
QString LoadQText(std::uint16_t id);

// Makes the string table answer from the installed translators (context
// "StringTable", keyed by the English text); an id they do not translate keeps
// its English text.
void InstallTranslatedTextSource();

}  // namespace velmora::gui
