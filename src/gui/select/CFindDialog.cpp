#include "select/CFindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmora::gui {

CFindDialog::CFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("findDialog"));
  setWindowTitle(tr("Find"));
  auto* label = new QLabel(tr("File"), this);
  patternEdit_ = new QLineEdit(this);
  patternEdit_->setObjectName(QStringLiteral("findPattern"));
  label->setBuddy(patternEdit_);
  matchCaseBox_ = new QCheckBox(tr("Match Case"), this);
  matchCaseBox_->setObjectName(QStringLiteral("findMatchCase"));
  auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
  buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(patternEdit_, 0, 1);
  layout->addWidget(matchCaseBox_, 1, 1);
  layout->addWidget(buttons, 0, 2, 2, 1, Qt::AlignTop);
  layout->setColumnMinimumWidth(1, 220);
  setFixedSize(sizeHint());
}

QString CFindDialog::pattern() const { return patternEdit_->text(); }
bool CFindDialog::matchCase() const { return matchCaseBox_->isChecked(); }

}  // namespace velmora::gui
