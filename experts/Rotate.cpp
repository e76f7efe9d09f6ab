// The rotation dialog: the angle with its up-down control, antialiasing, and
// the preview that follows both.
#include "experts/Rotate.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "desktop/Panel.h"
#include "imaging/ImgEditor.h"
#include "imaging/core/Resample.h"
#include "imaging/core/Rotate.h"

namespace glamora {

namespace {

constexpr int kPreviewWidth = 183;
constexpr int kPreviewHeight = 158;

}  // namespace

TFormRotate::TFormRotate(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
  setObjectName("FormRotate");
  setWindowTitle("Rotation");
  setFixedSize(kClientWidth, kClientHeight);

  auto* panel = new TPanel(this);
  panel->setObjectName("Panel1");
  panel->SetBevelOuter(bvLowered);
  panel->setGeometry(8, 8, kPreviewWidth + 2, kPreviewHeight + 2);
  ImgEditor1 = new TImgEditor(panel);
  ImgEditor1->setObjectName("ImgEditor1");
  ImgEditor1->SetBorderStyle(bsNone);
  ImgEditor1->SetBackground(clWhite);
  ImgEditor1->SetCenter(true);
  const QRect inside = panel->AlignRect();
  panel->PlaceChild(*ImgEditor1, inside.left(), inside.top(), kPreviewWidth, kPreviewHeight);

  Label1 = new QLabel("Angle", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(208, 16, 100, 16);
  UpDown1 = new QSpinBox(this);
  UpDown1->setObjectName("UpDown1");
  // The up-down control's own edit box is the angle's edit box.
  if (auto* edit = UpDown1->findChild<QLineEdit*>()) edit->setObjectName("Edit1");
  UpDown1->setRange(-kMaxAngle, kMaxAngle);
  UpDown1->setWrapping(false);
  UpDown1->setValue(0);
  UpDown1->setGeometry(208, 34, 100, 24);
  CheckBox1 = new QCheckBox("Antialiasing", this);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox1->setChecked(true);
  CheckBox1->setGeometry(208, 68, 105, 20);

  BitBtn3 = new QPushButton(QIcon(":/icons/buttons/ok.png"), "OK", this);
  BitBtn3->setObjectName("BitBtn3");
  BitBtn3->setGeometry(208, 128, 100, 27);
  BitBtn3->setAutoDefault(false);
  BitBtn2 = new QPushButton(QIcon(":/icons/buttons/cancel.png"), "Cancel", this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setGeometry(208, 162, 100, 27);
  // Enter as well as Esc answers Cancel.
  BitBtn2->setDefault(true);
  connect(BitBtn3, &QPushButton::clicked, this, [this] { done(mrOk); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });

  connect(UpDown1, &QSpinBox::valueChanged, this, Guarded([this] { Edit1Change(); }));
  connect(CheckBox1, &QCheckBox::toggled, this, Guarded([this] { Edit1Change(); }));
}

int TFormRotate::Angle() const { return UpDown1->value(); }

bool TFormRotate::Antialias() const { return CheckBox1->isChecked(); }

void TFormRotate::SetAngle(int degrees) { UpDown1->setValue(degrees); }

void TFormRotate::SetAntialias(bool value) { CheckBox1->setChecked(value); }

void TFormRotate::PreparePreview(const Bitmap& picture) {
  unturned_ = Bitmap();
  if (!picture.Empty()) {
    const int width = ImgEditor1->width();
    const int height = std::max(1, int(int64_t(width) * picture.Height() / picture.Width()));
    if (!Resample(picture, unturned_, width, height, rfBSpline)) unturned_.Assign(picture);
  }
  {
    const QSignalBlocker blocker(UpDown1);
    UpDown1->setValue(0);
  }
  Edit1Change();
}

void TFormRotate::Edit1Change() {
  Bitmap turned;
  turned.Assign(unturned_);
  if (Angle() != 0) Rotate(turned, Angle(), Antialias(), clWhite);
  ImgEditor1->Assign(&turned);
  ImgEditor1->Fit();
  ImgEditor1->Paint();
}

bool TFormRotate::Ask(const Bitmap& picture, QWidget* owner) {
  PreparePreview(picture);
  if (owner) move(owner->window()->frameGeometry().center() - QPoint(width() / 2, height() / 2));
  UpDown1->setFocus();
  UpDown1->selectAll();
  return exec() == mrOk;
}

void TFormRotate::reject() { done(mrCancel); }

}  // namespace glamora
