#pragma once

#include "host/AppState.h"
#include "select/FramedDialog.h"
#include "select/RecoveryFilterList.h"

class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace velmora::gui {

// "Add FileFilter": builds the list of filter texts and ends with Include or
// Exclude, which store the whole list for the recovery, or with Cancel (or
// Esc), which drops the texts added since the dialog opened. It has no OK and
// no close button.
class CFileFilterDialog : public FramedDialog {
  Q_OBJECT

 public:
  CFileFilterDialog(select::RecoveryFilterList& filters, AppState& state, QWidget* parent = nullptr);

 public slots:
  void reject() override;

 private:
  void OnTextChanged();
  void OnAddToList();
  void Store(bool include);

  select::RecoveryFilterList& filters_;
  AppState& state_;
  QPlainTextEdit* textEdit_;
  QPushButton* addButton_;
  QListWidget* list_;
  QPushButton* includeButton_;
  QPushButton* excludeButton_;
};

}  // namespace velmora::gui
