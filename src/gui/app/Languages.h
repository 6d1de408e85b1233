#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

namespace velmora::gui {

constexpr std::uint32_t kLanguageCount = 5;

// The language's name as its translation and help folder are named
// ("English", "French", "German", "Spanish", "Italian"); "" outside 0-4.
QString LanguageName(std::uint32_t index);

// The folder that holds French.qm and the other translations: DataFolder()
// unless set.
QString TranslationFolder();
void SetTranslationFolder(const QString& folder);

// Installs the translation of language index for every text of the program
// (tr() and the string table). English needs none. Returns false when the
// translation cannot be loaded; English is then in force.
bool InstallLanguage(std::uint32_t index);

// The locale of language index: month and day names in the language shown.
QLocale LanguageLocale(std::uint32_t index);

// The settings key of the program: "LANG" and "Path" live there.
QString SettingsOrganization();
QString SettingsApplication();

}  // namespace velmora::gui

namespace velmora::gui {
// The language whose texts are in force after the last InstallLanguage.
std::uint32_t CurrentLanguageIndex();
}  // namespace velmora::gui
