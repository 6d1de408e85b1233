#pragma once

#include <QDialog>

namespace velmora::gui {

// A dialog with a one-pixel black frame around its client area, as the File
// Mask and Add FileFilter dialogs draw it.
class FramedDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace velmora::gui
