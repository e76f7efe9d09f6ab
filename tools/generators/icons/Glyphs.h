#pragma once
// The pieces every icon is put together from, drawn on a 32 × 32 design grid
// (the painter is scaled to the icon's size). One flat style throughout:
// filled shapes in the palette below with a thin outline one shade darker.
#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

namespace glamora::icons {

namespace palette {
inline const QColor kInk(43, 58, 74);          // outlines of light shapes, text
inline const QColor kPaper(255, 255, 255);
inline const QColor kMist(226, 232, 240);      // light grey fills
inline const QColor kSteel(120, 136, 156);     // metal, grey parts
inline const QColor kRose(217, 70, 122);       // the program's accent: make-up
inline const QColor kLip(200, 40, 72);
inline const QColor kBlue(61, 143, 209);
inline const QColor kSky(150, 205, 245);
inline const QColor kGreen(58, 166, 106);
inline const QColor kLeaf(110, 190, 90);
inline const QColor kGold(242, 182, 48);
inline const QColor kFolder(247, 201, 73);
inline const QColor kOrange(232, 116, 59);
inline const QColor kRed(214, 69, 65);
inline const QColor kSkin(241, 199, 163);
inline const QColor kHair(138, 90, 50);
inline const QColor kShadow(150, 100, 190);    // eye shadow
inline const QColor kWood(196, 140, 80);
}  // namespace palette

// A shape filled with a colour and outlined one shade darker.
void Fill(QPainter& p, const QPainterPath& path, const QColor& fill, double outline = 1.2);
// A line of the given width and colour with round ends.
void Line(QPainter& p, const QPainterPath& path, const QColor& colour, double width);
QPainterPath RoundRect(const QRectF& r, double radius);
QPainterPath RectPath(const QRectF& r);
QPainterPath Circle(QPointF centre, double radius);

// A thick arrow from `from` to `to` with a head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 4.0, double head = 5.5);
// A curved arrow along a circle from startDeg turning spanDeg (positive is anticlockwise).
void ArcArrow(QPainter& p, QPointF centre, double radius, double startDeg, double spanDeg, const QColor& colour,
              double width = 3.2);

// Text filled as a path, centred on `centre`, `height` the height of a capital.
void Text(QPainter& p, const QString& text, QPointF centre, double height, const QColor& colour, bool bold = true);

// Small badges drawn over the bottom-right of an icon.
void PlusBadge(QPainter& p, QPointF centre, double radius = 6.5);
void StarBadge(QPainter& p, QPointF centre, double radius = 6.0, const QColor& colour = palette::kGold);

// Objects.
void Folder(QPainter& p, const QRectF& r);
void Photo(QPainter& p, const QRectF& r);
void FaceHead(QPainter& p, QPointF centre, double radius, bool withHair = true);
void HairBob(QPainter& p, const QRectF& r, const QColor& colour = palette::kHair);
void HelpMark(QPainter& p, QPointF centre, double radius);
void InfoMark(QPainter& p, QPointF centre, double radius);
void TrashCan(QPainter& p, const QRectF& r);
void Printer(QPainter& p, const QRectF& r);
void Die(QPainter& p, QPointF centre, double size, double angleDeg, int pips);
void Disk(QPainter& p, const QRectF& r);
void Door(QPainter& p, const QRectF& r);
void Envelope(QPainter& p, const QRectF& r);
void Magnifier(QPainter& p, QPointF centre, double radius);
void Scissors(QPainter& p, QPointF at, double scale, double angleDeg);
void Wand(QPainter& p, QPointF from, QPointF to);
void Eraser(QPainter& p, QPointF centre, double size);
void Eye(QPainter& p, QPointF centre, double halfWidth, const QColor& shadow);
void Lips(QPainter& p, QPointF centre, double halfWidth, const QColor& fill, bool outlineOnly);
void Lipstick(QPainter& p, QPointF base, double height, double angleDeg);
void Pencil(QPainter& p, QPointF tip, double length, double angleDeg, const QColor& lead);
void Brush(QPainter& p, QPointF tip, double length, double tuft, double angleDeg, const QColor& paint);
void Check(QPainter& p, const QRectF& r, const QColor& colour);
void Cross(QPainter& p, const QRectF& r, const QColor& colour);

}  // namespace glamora::icons
