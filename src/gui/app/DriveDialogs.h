#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace velmora::gui {

// "Insert CDROM To Start Process" with OK and Cancel.
class CInsertDiscDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CInsertDiscDlg(QWidget* parent = nullptr);
};

// "Select CD Drive": the machine's drives in a list; OK stays disabled until
// the user picks one, and there is no Cancel.
class CSelectDriveDlg : public QDialog {
  Q_OBJECT

 public:
  CSelectDriveDlg(const std::vector<std::string>& drivePaths, QWidget* parent = nullptr);
  // The drive picked; nothing when the dialog closed without a pick.
  std::optional<std::size_t> choice() const { return choice_; }
  QComboBox* drives() const { return drives_; }
  QPushButton* okButton() const { return ok_; }

 private:
  QComboBox* drives_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::optional<std::size_t> choice_;
};

// An image file of the chosen name exists: Overwrite, or Cancel (the default).
class COverwriteImageDlg : public QDialog {
  Q_OBJECT

 public:
  explicit COverwriteImageDlg(QWidget* parent = nullptr);
};

}  // namespace velmora::gui
