#pragma once

#include "select/FramedDialog.h"
#include "select/MaskCriteria.h"

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace velmora::gui {

// "File Mask": the criteria of a mask (names, existing files, a size range in
// KB and a date window). Every dialog starts with the criteria reset; File
// Unmask shows the same dialog. The widgets hold what is typed; criteria()
// reads them into the engine's MaskCriteria when OK is chosen.
class CFileMaskDialog : public FramedDialog {
  Q_OBJECT

 public:
  // today: the date the pickers start from (today in UTC).
  explicit CFileMaskDialog(select::CivilDate today, QWidget* parent = nullptr);

  // The criteria as the controls hold them: a criterion applies exactly when
  // its box is checked (and, for a date window, its radio button chosen).
  select::MaskCriteria criteria() const;

 private:
  void BuildControls();
  void OnSizeFromToggled(bool checked);
  void OnUptoToggled(bool checked);
  void OnDateToggled(bool checked);
  void OnRadioChosen();

  select::CivilDate today_;
  QLineEdit* maskEdit_ = nullptr;
  QCheckBox* matchCaseBox_ = nullptr;
  QCheckBox* existingBox_ = nullptr;
  QCheckBox* sizeFromBox_ = nullptr;
  QLineEdit* sizeFromEdit_ = nullptr;
  QCheckBox* uptoBox_ = nullptr;
  QLineEdit* uptoEdit_ = nullptr;
  QCheckBox* dateBox_ = nullptr;
  QButtonGroup* radios_ = nullptr;
  QRadioButton* monthsRadio_ = nullptr;
  QLineEdit* monthsEdit_ = nullptr;
  QRadioButton* daysRadio_ = nullptr;
  QLineEdit* daysEdit_ = nullptr;
  QRadioButton* betweenRadio_ = nullptr;
  QDateEdit* upperPicker_ = nullptr;  // the first date of the range
  QLabel* andLabel_ = nullptr;
  QDateEdit* lowerPicker_ = nullptr;  // the second date of the range
};

}  // namespace velmora::gui
