#include "select/CFileMaskDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/Languages.h"

namespace velmora::gui {
namespace {

QDate ToQDate(select::CivilDate date) { return QDate(date.year, date.month, date.day); }

select::CivilDate FromQDate(const QDate& date) { return {date.year(), date.month(), date.day()}; }

QLineEdit* NumberBox(const QString& name, QWidget* parent) {
  auto* edit = new QLineEdit(QStringLiteral("0"), parent);
  edit->setObjectName(name);
  edit->setMaximumWidth(70);
  edit->setEnabled(false);
  return edit;
}

QDateEdit* Picker(const QString& name, select::CivilDate date, QWidget* parent) {
  auto* picker = new QDateEdit(ToQDate(date), parent);
  picker->setObjectName(name);
  picker->setCalendarPopup(true);
  picker->setDisplayFormat(QStringLiteral("dd MMMM yyyy"));
  picker->setEnabled(false);
  return picker;
}

}  // namespace

CFileMaskDialog::CFileMaskDialog(select::CivilDate today, QWidget* parent)
    : FramedDialog(parent), today_(today) {
  setObjectName(QStringLiteral("fileMaskDialog"));
  // The date pickers name the months in the language shown, whatever the
  // system's own locale; the pickers and their calendars inherit it.
  setLocale(LanguageLocale(CurrentLanguageIndex()));
  setWindowTitle(tr("File Mask"));
  BuildControls();
  setFixedSize(sizeHint());
}

void CFileMaskDialog::BuildControls() {
  auto* group = new QGroupBox(tr("Set Mask"), this);
  auto* hint = new QLabel(tr("A File mask delimited with semi-colons."), group);
  auto* typeLabel = new QLabel(tr("Files of Type:"), group);
  maskEdit_ = new QLineEdit(group);
  maskEdit_->setObjectName(QStringLiteral("maskText"));
  typeLabel->setBuddy(maskEdit_);
  matchCaseBox_ = new QCheckBox(tr("&Match Case"), group);
  matchCaseBox_->setObjectName(QStringLiteral("maskMatchCase"));
  existingBox_ = new QCheckBox(tr("&Existing Files"), group);
  existingBox_->setObjectName(QStringLiteral("existingFiles"));
  existingBox_->setChecked(true);

  sizeFromBox_ = new QCheckBox(tr("Size from"), group);
  sizeFromBox_->setObjectName(QStringLiteral("sizeFromBox"));
  sizeFromEdit_ = NumberBox(QStringLiteral("sizeFrom"), group);
  uptoBox_ = new QCheckBox(tr("upto"), group);
  uptoBox_->setObjectName(QStringLiteral("uptoBox"));
  uptoEdit_ = NumberBox(QStringLiteral("sizeUpto"), group);
  auto* kbLabel = new QLabel(tr("KB"), group);

  dateBox_ = new QCheckBox(tr("Date"), group);
  dateBox_->setObjectName(QStringLiteral("dateBox"));
  monthsRadio_ = new QRadioButton(tr("in the last"), group);
  monthsRadio_->setObjectName(QStringLiteral("monthsRadio"));
  monthsEdit_ = NumberBox(QStringLiteral("months"), group);
  auto* monthsLabel = new QLabel(tr("months"), group);
  daysRadio_ = new QRadioButton(tr("in the last"), group);
  daysRadio_->setObjectName(QStringLiteral("daysRadio"));
  daysEdit_ = NumberBox(QStringLiteral("days"), group);
  auto* daysLabel = new QLabel(tr("days"), group);
  betweenRadio_ = new QRadioButton(tr("between"), group);
  betweenRadio_->setObjectName(QStringLiteral("betweenRadio"));
  // The upper picker starts a calendar month before today, the lower one at today.
  upperPicker_ = Picker(QStringLiteral("rangeStart"), select::MonthsBefore(today_, 1), group);
  andLabel_ = new QLabel(tr("and"), group);
  andLabel_->setEnabled(false);
  lowerPicker_ = Picker(QStringLiteral("rangeEnd"), today_, group);
  radios_ = new QButtonGroup(this);
  radios_->setExclusive(true);
  for (QRadioButton* radio : {monthsRadio_, daysRadio_, betweenRadio_}) {
    radios_->addButton(radio);
    radio->setEnabled(false);
  }

  auto* grid = new QGridLayout(group);
  grid->addWidget(hint, 0, 0, 1, 5);
  grid->addWidget(typeLabel, 1, 0);
  grid->addWidget(maskEdit_, 1, 1, 1, 4);
  grid->addWidget(matchCaseBox_, 2, 1);
  grid->addWidget(existingBox_, 3, 0, 1, 2);
  grid->addWidget(sizeFromBox_, 4, 0);
  grid->addWidget(sizeFromEdit_, 4, 1);
  grid->addWidget(uptoBox_, 4, 2);
  grid->addWidget(uptoEdit_, 4, 3);
  grid->addWidget(kbLabel, 4, 4);
  grid->addWidget(dateBox_, 5, 0);
  grid->addWidget(monthsRadio_, 6, 0);
  grid->addWidget(monthsEdit_, 6, 1);
  grid->addWidget(monthsLabel, 6, 2);
  grid->addWidget(daysRadio_, 7, 0);
  grid->addWidget(daysEdit_, 7, 1);
  grid->addWidget(daysLabel, 7, 2);
  grid->addWidget(betweenRadio_, 8, 0);
  grid->addWidget(upperPicker_, 8, 1, 1, 3);
  grid->addWidget(andLabel_, 9, 0, Qt::AlignRight);
  grid->addWidget(lowerPicker_, 9, 1, 1, 3);

  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(group);
  layout->addWidget(buttons);

  connect(sizeFromBox_, &QCheckBox::toggled, this, &CFileMaskDialog::OnSizeFromToggled);
  connect(uptoBox_, &QCheckBox::toggled, this, &CFileMaskDialog::OnUptoToggled);
  connect(dateBox_, &QCheckBox::toggled, this, &CFileMaskDialog::OnDateToggled);
  for (QRadioButton* radio : {monthsRadio_, daysRadio_, betweenRadio_}) {
    connect(radio, &QRadioButton::toggled, this, [this](bool on) {
      if (on) OnRadioChosen();
    });
  }
}

void CFileMaskDialog::OnSizeFromToggled(bool checked) { sizeFromEdit_->setEnabled(checked); }

void CFileMaskDialog::OnUptoToggled(bool checked) { uptoEdit_->setEnabled(checked); }

void CFileMaskDialog::OnDateToggled(bool checked) {
  for (QRadioButton* radio : {monthsRadio_, daysRadio_, betweenRadio_}) radio->setEnabled(checked);
  andLabel_->setEnabled(checked);
  if (checked) {
    // The months window is chosen first, whatever was chosen before.
    if (monthsRadio_->isChecked()) {
      OnRadioChosen();
    } else {
      monthsRadio_->setChecked(true);
    }
  } else {
    for (QWidget* field : std::initializer_list<QWidget*>{monthsEdit_, daysEdit_, upperPicker_,
                                                          lowerPicker_}) {
      field->setEnabled(false);
    }
  }
}

void CFileMaskDialog::OnRadioChosen() {
  if (!dateBox_->isChecked()) return;
  monthsEdit_->setEnabled(monthsRadio_->isChecked());
  daysEdit_->setEnabled(daysRadio_->isChecked());
  upperPicker_->setEnabled(betweenRadio_->isChecked());
  lowerPicker_->setEnabled(betweenRadio_->isChecked());
}

select::MaskCriteria CFileMaskDialog::criteria() const {
  select::MaskCriteria criteria;
  criteria.maskText = maskEdit_->text().toStdU16String();
  criteria.matchCase = matchCaseBox_->isChecked();
  criteria.acceptState1 = true;
  criteria.existingFiles = existingBox_->isChecked();
  criteria.sizeFromActive = sizeFromBox_->isChecked();
  criteria.sizeFrom = select::MaskNumber(sizeFromEdit_->text().toStdU16String());
  criteria.sizeUptoActive = uptoBox_->isChecked();
  criteria.sizeUpto = select::MaskNumber(uptoEdit_->text().toStdU16String());
  const bool date = dateBox_->isChecked();
  criteria.monthsActive = date && monthsRadio_->isChecked();
  criteria.months = select::MaskNumber(monthsEdit_->text().toStdU16String());
  criteria.daysActive = date && daysRadio_->isChecked();
  criteria.days = select::MaskNumber(daysEdit_->text().toStdU16String());
  criteria.betweenActive = date && betweenRadio_->isChecked();
  criteria.dateA = FromQDate(lowerPicker_->date());
  criteria.dateB = FromQDate(upperPicker_->date());
  return criteria;
}

}  // namespace velmora::gui
