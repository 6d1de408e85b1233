#include "select/CFileFilterDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace velmora::gui {

CFileFilterDialog::CFileFilterDialog(select::RecoveryFilterList& filters, AppState& state,
                                     QWidget* parent)
    : FramedDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      filters_(filters),
      state_(state) {
  setObjectName(QStringLiteral("fileFilterDialog"));
  setWindowTitle(tr("Add FileFilter"));
  auto* label = new QLabel(tr("Enter Filter Basis"), this);
  textEdit_ = new QPlainTextEdit(this);
  textEdit_->setObjectName(QStringLiteral("filterText"));
  textEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
  textEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textEdit_->setTabChangesFocus(true);
  textEdit_->setFixedHeight(textEdit_->fontMetrics().lineSpacing() * 2 + 24);
  label->setBuddy(textEdit_);
  addButton_ = new QPushButton(tr("Add To List"), this);
  addButton_->setObjectName(QStringLiteral("addToList"));
  addButton_->setEnabled(false);
  addButton_->setAutoDefault(false);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("filterList"));
  list_->setSortingEnabled(true);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  includeButton_ = new QPushButton(tr("Include"), this);
  includeButton_->setObjectName(QStringLiteral("include"));
  excludeButton_ = new QPushButton(tr("Exclude"), this);
  excludeButton_->setObjectName(QStringLiteral("exclude"));
  auto* cancelButton = new QPushButton(tr("Cancel"), this);
  cancelButton->setObjectName(QStringLiteral("cancel"));
  for (QPushButton* button : {includeButton_, excludeButton_, cancelButton}) {
    button->setAutoDefault(false);
  }

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->addWidget(label, 0, 0);
  grid->addWidget(textEdit_, 1, 0);
  grid->addWidget(addButton_, 1, 1, Qt::AlignTop);
  grid->addWidget(list_, 2, 0, 3, 1);
  grid->addWidget(includeButton_, 2, 1);
  grid->addWidget(excludeButton_, 3, 1);
  grid->addWidget(cancelButton, 4, 1, Qt::AlignTop);
  grid->setColumnMinimumWidth(0, 260);

  // The stored texts, which Include and Exclude will copy again.
  for (const std::u16string& text : filters_.texts()) {
    list_->addItem(QString::fromStdU16String(text));
  }
  includeButton_->setEnabled(list_->count() > 0);
  excludeButton_->setEnabled(list_->count() > 0);

  connect(textEdit_, &QPlainTextEdit::textChanged, this, &CFileFilterDialog::OnTextChanged);
  connect(addButton_, &QPushButton::clicked, this, &CFileFilterDialog::OnAddToList);
  connect(includeButton_, &QPushButton::clicked, this, [this] { Store(true); });
  connect(excludeButton_, &QPushButton::clicked, this, [this] { Store(false); });
  connect(cancelButton, &QPushButton::clicked, this, &CFileFilterDialog::reject);
}

void CFileFilterDialog::OnTextChanged() {
  addButton_->setEnabled(!textEdit_->toPlainText().isEmpty());
}

void CFileFilterDialog::OnAddToList() {
  const QString text = textEdit_->toPlainText();
  if (text.isEmpty()) return;
  list_->addItem(text);
  textEdit_->clear();
  textEdit_->setFocus();
  if (state_.pendingFilterCount < 255) ++state_.pendingFilterCount;
  includeButton_->setEnabled(true);
  excludeButton_->setEnabled(true);
}

void CFileFilterDialog::Store(bool include) {
  std::vector<std::u16string> texts;
  texts.reserve(static_cast<std::size_t>(list_->count()));
  for (int i = 0; i < list_->count(); ++i) texts.push_back(list_->item(i)->text().toStdU16String());
  filters_.Apply(texts, include, state_);
  state_.pendingFilterCount = 0;
  accept();
}

void CFileFilterDialog::reject() {
  // The stored list is only ever changed by Include and Exclude, so the texts
  // added since the dialog opened go with the dialog.
  state_.pendingFilterCount = 0;
  QDialog::reject();
}

}  // namespace velmora::gui
