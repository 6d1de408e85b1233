#include "app/CAboutDialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <array>

#include "app/TextLoader.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

// The targets are the program's own; the texts shown come from the language.
const std::array<QUrl, 3>& Targets() {
  static const std::array<QUrl, 3> targets = {
      QUrl(QStringLiteral("mailto:sales@orvane.example")),
      QUrl(QStringLiteral("mailto:support@orvane.example")),
      QUrl(QStringLiteral("https://www.orvane.example/"))};
  return targets;
}

}  // namespace

AboutLink::AboutLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(text);
  setAccessibleDescription(tr("Link"));
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  SetVisited(false);
}

void AboutLink::SetVisited(bool visited) {
  visited_ = visited;
  // The link colours are the one place the program sets colours of its own.
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, visited ? QColor(128, 0, 128) : QColor(0, 0, 255));
  setPalette(palette);
  update();
}

void AboutLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

void AboutLink::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
      event->key() == Qt::Key_Space) {
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

const QUrl& CAboutDialog::LinkTarget(int index) { return Targets()[static_cast<std::size_t>(index)]; }

CAboutDialog::CAboutDialog(QWidget* parent, UrlOpener opener)
    : QDialog(parent), opener_(std::move(opener)) {
  if (!opener_) opener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  setWindowTitle(tr("About %1").arg(LoadQText(text::kProductTitle).trimmed()));
  auto* layout = new QVBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(QIcon(QStringLiteral(":/icons/splash.svg")).pixmap(QSize(300, 180)));
  picture->setAlignment(Qt::AlignCenter);
  layout->addWidget(picture);
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setFrameShadow(QFrame::Sunken);
  auto* texts = new QVBoxLayout(frame);
  auto* product = new QLabel(LoadQText(text::kProductTitle), frame);
  QFont bold = product->font();
  bold.setBold(true);
  product->setFont(bold);
  texts->addWidget(product);
  texts->addWidget(new QLabel(LoadQText(text::kAboutNotice), frame));
  texts->addWidget(new QLabel(LoadQText(text::kLicenceNotice), frame));
  const std::uint16_t linkTexts[] = {text::kSalesAddress, text::kSupportAddress,
                                     text::kWebSiteAddress};
  for (int index = 0; index < 3; ++index) {
    links_[index] = new AboutLink(LoadQText(linkTexts[index]), frame);
    links_[index]->setObjectName(QStringLiteral("link%1").arg(index));
    connect(links_[index], &AboutLink::clicked, this, [this, index] { Open(index); });
    texts->addWidget(links_[index]);
  }
  layout->addWidget(frame);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setCenterButtons(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

void CAboutDialog::Open(int index) {
  AboutLink* link = links_[index];
  if (index == 2) {
    // The web link shows as visited even when no browser takes it.
    link->SetVisited(true);
    opener_(LinkTarget(index));
    return;
  }
  if (opener_(LinkTarget(index))) link->SetVisited(true);
}

}  // namespace velmora::gui
