#pragma once
// TFormRotate: the rotation dialog the experts share. It shows a small
// preview of the picture, turned by the angle and drawn with or without
// antialiasing as they stand while the user changes them, and answers OK
// with the angle (−359..359 degrees, counter-clockwise positive) and the
// antialiasing choice.
#include <QDialog>

#include "desktop/Dialogs.h"
#include "imaging/core/Bitmap.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace glamora {

class TImgEditor;

class TFormRotate : public QDialog {
  Q_OBJECT

 public:
  explicit TFormRotate(QWidget* parent = nullptr);

  static constexpr int kClientWidth = 319;
  static constexpr int kClientHeight = 200;
  static constexpr int kMaxAngle = 359;

  // Puts a preview of the picture in the dialog (resampled to the preview's
  // width, the height in proportion, with the B-spline filter, and fitted),
  // starts from the angle 0 with the antialiasing choice left as it was, and
  // shows the dialog modally, centred on `owner`. True when it answered OK.
  bool Ask(const Bitmap& picture, QWidget* owner);
  // What Ask does before showing the dialog.
  void PreparePreview(const Bitmap& picture);

  // The angle as the up-down control holds it, and the check box.
  int Angle() const;
  bool Antialias() const;
  void SetAngle(int degrees);
  void SetAntialias(bool value);

  // The preview turned by the current angle, as the angle or the check box
  // changed; the preview picture is left as PreparePreview made it.
  void Edit1Change();

  TImgEditor* ImgEditor1 = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* UpDown1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QPushButton* BitBtn3 = nullptr;
  QPushButton* BitBtn2 = nullptr;

 public slots:
  void reject() override;

 private:
  // The preview picture before turning.
  Bitmap unturned_;
};

}  // namespace glamora
