#pragma once

#include <QApplication>
#include <cstdint>

namespace velmora::gui {

// The application object: its names place the settings ("LANG", "Path")
// where every version of the program finds them. InitInstance puts the stored
// language in force and shows the splash.
class CCDApp : public QApplication {
  Q_OBJECT

 public:
  CCDApp(int& argc, char** argv);

  // Reads "LANG", installs that language (English when its translation is
  // missing) and shows the splash unless told not to.
  void InitInstance(bool showSplash);
  // The stored language index; 0 when none is stored.
  static std::uint32_t StoredLanguage();
};

}  // namespace velmora::gui
