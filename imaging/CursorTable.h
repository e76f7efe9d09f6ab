#pragma once
// The application-wide cursor table: cursors by number. Negative numbers and
// 0 are the standard shapes (crDefault, crArrow, ...); windows register their
// own pictures under positive numbers from named cursor resources
// (":/cursors/<NAME>.png" with the hot spot from ":/cursors/hotspots.txt").
#include <QCursor>
#include <QString>
#include <map>

class QWidget;

namespace glamora {

using TCursor = int;

constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;

class CursorTable {
 public:
  static CursorTable& Instance();

  // Loads the named cursor resource and registers it under `id`, replacing
  // an earlier registration. False, registering nothing, when the resource
  // does not exist.
  bool Register(TCursor id, const QString& resourceName);
  void Set(TCursor id, const QCursor& cursor);
  bool Contains(TCursor id) const;

  // The cursor of a number: a registered picture, a standard shape, or the
  // arrow for a number nobody registered.
  QCursor Get(TCursor id) const;

  // Shows the cursor over the widget; crDefault gives the widget back the
  // cursor of its parent.
  void Apply(QWidget& widget, TCursor id) const;

  // The screen cursor override (an hourglass during long work): any number
  // but crDefault sets it, crDefault removes it.
  void SetScreenCursor(TCursor id);
  TCursor ScreenCursor() const { return screenCursor_; }

  // A named cursor resource as a cursor; false when it does not exist.
  static bool LoadResource(const QString& resourceName, QCursor& cursor);

 private:
  CursorTable() = default;
  std::map<TCursor, QCursor> cursors_;
  TCursor screenCursor_ = crDefault;
};

// The hourglass on the screen while in scope.
class BusyCursor {
 public:
  BusyCursor() { CursorTable::Instance().SetScreenCursor(crHourGlass); }
  ~BusyCursor() { CursorTable::Instance().SetScreenCursor(crDefault); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace glamora
