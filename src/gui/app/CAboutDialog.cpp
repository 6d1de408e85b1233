#include "app/CAboutDialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/TextLoader.h"
#include "text/StringTable.h"

namespace velmora::gui {
namespace {

QUrl WebTarget(const QString& site) {
  const QUrl url(site);
  return url.scheme().isEmpty() ? QUrl(QStringLiteral("https://") + site + QStringLiteral("/"))
                                : url;
}

}  // namespace

// As the build was configured (src/gui/CMakeLists.txt).
AboutAddresses AboutAddresses::Built() {
  return {QStringLiteral(VELMORA_SALES_MAIL), QStringLiteral(VELMORA_SUPPORT_MAIL),
          QStringLiteral(VELMORA_WEB_SITE)};
}

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

CAboutDialog::CAboutDialog(QWidget* parent, UrlOpener opener, const AboutAddresses& addresses)
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
  const QString shown[] = {addresses.salesMail, addresses.supportMail, addresses.webSite};
  targets_[0] = QUrl(QStringLiteral("mailto:") + addresses.salesMail);
  targets_[1] = QUrl(QStringLiteral("mailto:") + addresses.supportMail);
  targets_[2] = WebTarget(addresses.webSite);
  for (int index = 0; index < 3; ++index) {
    if (shown[index].isEmpty()) continue;
    links_[index] = new AboutLink(shown[index], frame);
    links_[index]->setObjectName(QStringLiteral("link%1").arg(index));
    connect(links_[index], &AboutLink::clicked, this, [this, index] { Open(index); });
    texts->addWidget(links_[index]);
  }
  layout->addWidget(frame);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setCenterButtons(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  // The box opens with OK in focus: Return closes it; a link takes Return
  // only once the user moved to it.
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setDefault(true);
  ok->setFocus();
}

void CAboutDialog::Open(int index) {
  AboutLink* link = links_[index];
  if (index == 2) {
    // The web link shows as visited even when no browser takes it.
    link->SetVisited(true);
    opener_(targets_[index]);
    return;
  }
  if (opener_(targets_[index])) link->SetVisited(true);
}

}  // namespace velmora::gui
