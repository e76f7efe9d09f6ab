// The cursor table: standard shapes and cursors registered from resources by number.
#include "imaging/CursorTable.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QPixmap>
#include <QTextStream>
#include <QWidget>

#include "resources/Resources.h"

namespace glamora {

namespace {

Qt::CursorShape StandardShape(TCursor id) {
  switch (id) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
  }
}

// Hot spots of the cursor pictures, read once from the resource table.
const QHash<QString, QPoint>& HotSpots() {
  static const QHash<QString, QPoint> table = [] {
    QHash<QString, QPoint> spots;
    QFile file(":/cursors/hotspots.txt");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return spots;
    QTextStream in(&file);
    QString name;
    int x = 0, y = 0;
    while (true) {
      in >> name >> x >> y;
      if (in.status() != QTextStream::Ok || name.isEmpty()) break;
      spots.insert(name, QPoint(x, y));
    }
    return spots;
  }();
  return table;
}

}  // namespace

CursorTable& CursorTable::Instance() {
  static CursorTable table;
  return table;
}

bool CursorTable::LoadResource(const QString& resourceName, QCursor& cursor) {
  InitResources();
  QPixmap picture;
  if (!picture.load(":/cursors/" + resourceName + ".png", "PNG")) return false;
  const QPoint hotSpot = HotSpots().value(resourceName, QPoint(picture.width() / 2, picture.height() / 2));
  cursor = QCursor(picture, hotSpot.x(), hotSpot.y());
  return true;
}

bool CursorTable::Register(TCursor id, const QString& resourceName) {
  QCursor cursor;
  if (!LoadResource(resourceName, cursor)) return false;
  Set(id, cursor);
  return true;
}

void CursorTable::Set(TCursor id, const QCursor& cursor) { cursors_[id] = cursor; }

bool CursorTable::Contains(TCursor id) const { return cursors_.count(id) != 0; }

QCursor CursorTable::Get(TCursor id) const {
  const auto it = cursors_.find(id);
  if (it != cursors_.end()) return it->second;
  return QCursor(StandardShape(id));
}

void CursorTable::Apply(QWidget& widget, TCursor id) const {
  if (id == crDefault && !Contains(id)) {
    widget.unsetCursor();
  } else {
    widget.setCursor(Get(id));
  }
}

void CursorTable::SetScreenCursor(TCursor id) {
  if (screenCursor_ != crDefault) QApplication::restoreOverrideCursor();
  screenCursor_ = id;
  if (id != crDefault) QApplication::setOverrideCursor(Get(id));
}

}  // namespace glamora
