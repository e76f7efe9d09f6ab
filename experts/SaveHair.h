#pragma once
// TFormSaveHair: the dialog in which the add-hairstyle expert asks which
// category a new hairstyle goes into. Five radio items ("Short", "Meddian",
// "Long", "Special", "Male"); Save answers OK, Cancel and Esc answer Cancel.
// The choice stays selected for the next use.
#include <QDialog>

#include "desktop/Dialogs.h"
#include "hair/Catalogue.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace glamora {

class TFormSaveHair : public QDialog {
  Q_OBJECT

 public:
  explicit TFormSaveHair(QWidget* parent = nullptr);

  static constexpr int kClientWidth = 234;
  static constexpr int kClientHeight = 167;

  // Shows the dialog modally, centred on `owner`; true when it answered OK.
  bool Ask(QWidget* owner);

  // The selected radio item, 0..4, and the category it saves into.
  int ItemIndex() const;
  void SetItemIndex(int item);
  HairstyleCategory Category() const;

  QGroupBox* RadioGroup1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;

 public slots:
  void reject() override;

 private:
  QButtonGroup* items_ = nullptr;
};

}  // namespace glamora
