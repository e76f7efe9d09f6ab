// The About box: logo band, link to the support page, credits and Close.
#include "shell/About.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "desktop/Dialogs.h"
#include "desktop/SupportPage.h"
#include "resources/Resources.h"

namespace glamora {

namespace {

QLabel* CentredLine(QWidget* parent, const QString& text, int top, int height) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry(0, top, TFormAbout::kClientWidth, height);
  return label;
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
  InitResources();
  setWindowTitle("About");
  setFixedSize(kClientWidth, kClientHeight);

  logo_ = new QLabel(this);
  logo_->setGeometry(0, 0, kClientWidth, kLogoHeight);
  logo_->setPixmap(QPixmap(":/logo.png"));
  logo_->setScaledContents(true);
  logo_->setAttribute(Qt::WA_TranslucentBackground);

  QLabel* product = CentredLine(this, "Glamora 1.0", 66, 22);
  QFont productFont = product->font();
  productFont.setBold(true);
  productFont.setPixelSize(14);
  product->setFont(productFont);
  CentredLine(this, "A virtual make-over: hairstyles and make-up", 88, 20);

  link_ = CentredLine(this, kWebAddressText, 122, 24);
  QFont linkFont = link_->font();
  linkFont.setPixelSize(15);
  linkFont.setUnderline(true);
  link_->setFont(linkFont);
  link_->setStyleSheet("color: #0000ff;");
  link_->setCursor(Qt::PointingHandCursor);
  link_->installEventFilter(this);

  QLabel* credit = CentredLine(this, "Portrait: NASA (public domain)", 164, 18);
  QFont creditFont = credit->font();
  creditFont.setPixelSize(11);
  credit->setFont(creditFont);

  close_ = new QPushButton("Close", this);
  close_->setGeometry((kClientWidth - 85) / 2, 208, 85, 27);
  close_->setDefault(true);
  // Esc rejects the dialog, so the button is the cancel button as well.
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormAbout::ShowModalCentred(QWidget* owner) {
  if (owner) {
    const QRect area = owner->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  return exec();
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == link_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    RunHandler([] { OpenSupportPage(); });
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace glamora
