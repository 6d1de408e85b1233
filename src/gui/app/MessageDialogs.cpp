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
    : CErrorMessageDialog(code, QString(), parent) {}

CErrorMessageDialog::CErrorMessageDialog(int code, const QString& detail, QWidget* parent)
    : QDialog(parent), message_(QString::fromStdU16String(text::ErrorMessage(code))) {
  setWindowTitle(tr("Orvane Velmora CDROM"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(message_, this);
  label->setObjectName(QStringLiteral("message"));
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  // Room for the longest message on one line, as the dialog was laid out.
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(
      QStringLiteral("No more entries are available in the directory tree displayed")));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(label);
  if (!detail.isEmpty()) {
    auto* detailLabel = new QLabel(detail, this);
    detailLabel->setObjectName(QStringLiteral("detail"));
    detailLabel->setAlignment(Qt::AlignCenter);
    detailLabel->setWordWrap(true);
    detailLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont small = detailLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    detailLabel->setFont(small);
    layout->addWidget(detailLabel);
  }
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
  if ((type & 0xFF) != 0) {
    grid->addWidget(OkButton(this), 2, 0, 1, 2);
    return;
  }
  // Saving onto the medium being read may overwrite what is to be rescued:
  // the user may still go back, and Cancel is what Return and Escape do.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setCenterButtons(true);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
  buttons->button(QDialogButtonBox::Ok)->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, 2, 0, 1, 2);
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
