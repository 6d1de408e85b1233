#pragma once

#include <QDialog>

#include "select/FindSearch.h"

class QCheckBox;
class QLineEdit;

namespace velmora::gui {

// "Find": a name pattern with the wildcards "?" and "*", and "Match Case". The
// object outlives its window: it keeps the search for Find Next.
class CFindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CFindDialog(QWidget* parent = nullptr);

  QString pattern() const;
  bool matchCase() const;
  select::FindSearch& search() { return search_; }

 private:
  QLineEdit* patternEdit_;
  QCheckBox* matchCaseBox_;
  select::FindSearch search_;
};

}  // namespace velmora::gui
