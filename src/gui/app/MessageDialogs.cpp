#include "app/MessageDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/TextLoader.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

QLabel* IconLabel(QWidget* parent, QStyle::StandardPixmap which) {
  auto* label = new QLabel(parent);
  const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, parent);
  label->setPixmap(parent->style()->standardIcon(which, nullptr, parent).pixmap(size, size));
  label->setAlignment(Qt::AlignTop);
  return label;
}

QDialogButtonBox* OkButton(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
  buttons->setCenterButtons(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  return buttons;
}

}  // namespace

QString ProductCaption() { return LoadQText(text::kProductTitle).trimmed(); }

CErrorMessageDialog::CErrorMessageDialog(int code, QWidget* parent)
    : QDialog(parent), message_(QString::fromStdU16String(text::ErrorMessage(code))) {
  setWindowTitle(tr("Orvane Velmora CDROM"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(message_, this);
  label->setObjectName(QStringLiteral("message"));
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(label);
  layout->addWidget(OkButton(this));
}

CTwoLineInfoDialog::CTwoLineInfoDialog(int type, QWidget* parent) : QDialog(parent) {
  switch (type & 0xFF) {
    case 0:
      first_ = LoadQText(text::kSameDriveWarning1);
      second_ = LoadQText(text::kSameDriveWarning2);
      break;
    case 2:
      first_ = LoadQText(text::kCannotExit1);
      second_ = LoadQText(text::kCannotExit2);
      break;
    case 3:
      second_ = LoadQText(text::kInsertCdrom);
      break;
    default:
      break;
  }
  setWindowTitle(LoadQText(text::kProductTitle));
  auto* grid = new QGridLayout(this);
  grid->addWidget(IconLabel(this, QStyle::SP_MessageBoxInformation), 0, 0, 2, 1);
  auto* first = new QLabel(first_, this);
  first->setObjectName(QStringLiteral("firstLine"));
  auto* second = new QLabel(second_, this);
  second->setObjectName(QStringLiteral("secondLine"));
  grid->addWidget(first, 0, 1);
  grid->addWidget(second, 1, 1);
  grid->addWidget(OkButton(this), 2, 0, 1, 2);
}

CStopConfirmDialog::CStopConfirmDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Orvane Velmora CDROM"));
  auto* grid = new QGridLayout(this);
  grid->addWidget(IconLabel(this, QStyle::SP_MessageBoxQuestion), 0, 0, 2, 1);
  grid->addWidget(new QLabel(LoadQText(text::kStopQuestion1), this), 0, 1);
  grid->addWidget(new QLabel(LoadQText(text::kStopQuestion2), this), 1, 1);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* yes = buttons->addButton(tr("Yes"), QDialogButtonBox::YesRole);
  QPushButton* no = buttons->addButton(tr("No"), QDialogButtonBox::NoRole);
  yes->setDefault(true);
  yes->setObjectName(QStringLiteral("yes"));
  no->setObjectName(QStringLiteral("no"));
  buttons->setCenterButtons(true);
  connect(yes, &QPushButton::clicked, this, &QDialog::accept);
  connect(no, &QPushButton::clicked, this, &QDialog::reject);
  grid->addWidget(buttons, 2, 0, 1, 2);
}

bool CStopConfirmDialog::Ask(QWidget* parent) {
  CStopConfirmDialog dialog(parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace velmora::gui
