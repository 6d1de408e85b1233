#pragma once

#include <QApplication>

namespace velmora::gui {

// The application object. Its names place the settings ("LANG", "Path") where
// every version of the program finds them, and answer --version.
class CCDApp : public QApplication {
  Q_OBJECT

 public:
  CCDApp(int& argc, char** argv);
};

}  // namespace velmora::gui
