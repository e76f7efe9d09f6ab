#pragma once
// TToolBar: a row (or column) of flat tool buttons of one size with pictures
// from one image list, with fixed-width separators and an optional line along
// the bottom edge.
#include <QSize>
#include <QString>
#include <QWidget>

class QToolButton;

namespace glamora {

class TToolBar : public QWidget {
  Q_OBJECT

 public:
  TToolBar(Qt::Orientation orientation, QSize buttonSize, QSize pictureSize, QWidget* parent = nullptr);

  // A flat button with the hint and the picture of the image list at `picture`
  // (":/icons/<imageList>/<picture>.png").
  QToolButton* AddButton(const QString& name, const QString& hint, const QString& imageList, int picture);
  void AddSeparator(int size);
  void SetLineBelow(bool value);

  // Space above (or left of) the first button.
  static constexpr int kIndent = 2;
  // Height (or width) the bar needs.
  int Thickness() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::Orientation orientation_;
  QSize buttonSize_;
  QSize pictureSize_;
  int next_ = 0;
  bool lineBelow_ = false;
};

}  // namespace glamora
