// The save-hairstyle dialog: the category items and the two buttons.
#include "experts/SaveHair.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "experts/core/NewHairstyle.h"

namespace glamora {

TFormSaveHair::TFormSaveHair(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
  setObjectName("FormSaveHair");
  setWindowTitle("Save the hairstyle as:");
  setFixedSize(kClientWidth, kClientHeight);

  RadioGroup1 = new QGroupBox(this);
  RadioGroup1->setObjectName("RadioGroup1");
  RadioGroup1->setGeometry(8, 4, 120, kClientHeight - 12);
  items_ = new QButtonGroup(this);
  items_->setExclusive(true);
  auto* column = new QVBoxLayout(RadioGroup1);
  column->setContentsMargins(8, 6, 4, 6);
  for (int item = 0; item < kSaveHairItemCount; ++item) {
    auto* radio = new QRadioButton(QString::fromStdString(SaveHairItemCaption(item)), RadioGroup1);
    radio->setObjectName(QString("RadioItem%1").arg(item));
    items_->addButton(radio, item);
    column->addWidget(radio);
  }
  items_->button(0)->setChecked(true);

  BitBtn1 = new QPushButton(QIcon(":/icons/buttons/save.png"), "&Save", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(138, 40, 88, 27);
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QIcon(":/icons/buttons/cancel.png"), "&Cancel", this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setGeometry(138, 80, 88, 27);
  BitBtn2->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

bool TFormSaveHair::Ask(QWidget* owner) {
  if (owner) move(owner->window()->frameGeometry().center() - QPoint(width() / 2, height() / 2));
  if (QAbstractButton* chosen = items_->checkedButton()) chosen->setFocus();
  return exec() == mrOk;
}

int TFormSaveHair::ItemIndex() const { return items_->checkedId(); }

void TFormSaveHair::SetItemIndex(int item) {
  if (QAbstractButton* radio = items_->button(item)) radio->setChecked(true);
}

HairstyleCategory TFormSaveHair::Category() const { return CategoryOfSaveHairItem(ItemIndex()); }

void TFormSaveHair::reject() { done(mrCancel); }

}  // namespace glamora
