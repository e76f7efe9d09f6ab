#pragma once
// TFormAbout: the About box. The logo band, the product line, the web address
// as a link that opens the support page, the credits and a Close button.
#include <QDialog>

class QLabel;
class QPushButton;

namespace glamora {

class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);

  // Shows the box modally, centred on the given window.
  int ShowModalCentred(QWidget* owner);

  QLabel* Logo() const { return logo_; }
  QLabel* Link() const { return link_; }
  QPushButton* CloseButton() const { return close_; }

  static constexpr int kClientWidth = 377;
  static constexpr int kClientHeight = 252;
  static constexpr int kLogoHeight = 53;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* logo_ = nullptr;
  QLabel* link_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace glamora
