#include "app/DriveDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/TextLoader.h"
#include "text/StringTable.h"

namespace velmora::gui {

CInsertDiscDlg::CInsertDiscDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(LoadQText(text::kProductTitle));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(QStringLiteral(":/icons/disc.svg")).pixmap(32, 32));
  row->addWidget(icon);
  row->addWidget(new QLabel(LoadQText(text::kInsertCdrom), this), 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setCenterButtons(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

CSelectDriveDlg::CSelectDriveDlg(const std::vector<std::string>& drivePaths, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Select CD Drive"));
  auto* layout = new QVBoxLayout(this);
  drives_ = new QComboBox(this);
  drives_->setAccessibleName(tr("Select CD Drive"));
  const QIcon disc(QStringLiteral(":/icons/disc.svg"));
  for (const std::string& path : drivePaths) {
    drives_->addItem(disc, QString::fromLocal8Bit(path.c_str()));
  }
  drives_->setCurrentIndex(0);
  layout->addWidget(drives_);
  ok_ = new QPushButton(tr("OK"), this);
  ok_->setEnabled(false);
  ok_->setDefault(true);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
  buttons->setCenterButtons(true);
  layout->addWidget(buttons);
  connect(drives_, &QComboBox::activated, this, [this](int index) {
    if (index < 0) return;
    choice_ = static_cast<std::size_t>(index);
    ok_->setEnabled(true);
  });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

COverwriteImageDlg::COverwriteImageDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Orvane Velmora CDROM"));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel(this);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(size, size));
  row->addWidget(icon);
  row->addWidget(
      new QLabel(tr("Image File by the same name already exists. Do You want to Overwrite it?"),
                 this),
      1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* overwrite = buttons->addButton(tr("Overwrite"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
  cancel->setDefault(true);
  cancel->setFocus();
  overwrite->setAutoDefault(false);
  buttons->setCenterButtons(true);
  connect(overwrite, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace velmora::gui
