// The table of every tool bar, tab, button and menu picture and how each is
// drawn.
#include "tools/generators/icons/Icons.h"

#include <QImage>
#include <QTransform>

#include "tools/generators/icons/Glyphs.h"
#include "tools/generators/shapes/FaceShapes.h"

namespace glamora::icons {

using namespace palette;

namespace {

const IconSet kMain{"main", 32, 32, "Main window tool bars (`ImageList1`): `ToolBar1` and `ToolBar2`"};
const IconSet kMainTabs{"maintabs", 20, 20, "Main window page tabs (`ImageList2`)"};
const IconSet kFaceExpert{"faceexpert", 38, 36, "Face expert, formatting page tool bar (`ImageList1`)"};
const IconSet kFaceExpertErase{"faceexpert-erase", 38, 36, "Face expert, erasing page tool bar (`ImageList2`)"};
const IconSet kAddHair{"addhair", 38, 36, "Add-hairstyle expert tool bar (`ImageList1`)"};
const IconSet kMenu{"menu", 16, 16, "Main window menu entries"};
const IconSet kMakeup{"makeup", 24, 24, "Make-up page speed buttons"};
const IconSet kButtons{"buttons", 16, 16, "Small speed buttons and dialog buttons"};
const IconSet kFrame{"frame", 16, 16, "Hair placement frame buttons around the face"};

// ---- Pictures shared by several commands ----

void OpenFace(QPainter& p) {
  Folder(p, QRectF(1, 8, 28, 21));
  FaceHead(p, QPointF(20, 12), 8.5);
}

void OpenPicture(QPainter& p) {
  Folder(p, QRectF(1, 10, 26, 19));
  Photo(p, QRectF(12, 2, 19, 15));
}

void CreateHairstyle(QPainter& p) {
  QPainterPath face;
  face.addEllipse(QPointF(14, 15), 7, 8.5);
  Fill(p, face, kSkin);
  HairBob(p, QRectF(3, 2, 22, 25));
  PlusBadge(p, QPointF(25, 25), 6.5);
}

void AddToGallery(QPainter& p) {
  Photo(p, QRectF(2, 4, 24, 20));
  PlusBadge(p, QPointF(25, 25), 6.5);
}

void Export(QPainter& p) {
  Photo(p, QRectF(2, 3, 22, 18));
  Arrow(p, QPointF(12, 25), QPointF(30, 25), kGreen, 4.0, 6.0);
}

void Print(QPainter& p) { Printer(p, QRectF(2, 3, 28, 26)); }

void DeleteAll(QPainter& p) { TrashCan(p, QRectF(6, 2, 20, 28)); }

void Help(QPainter& p) { HelpMark(p, QPointF(16, 16), 13.5); }

void GoToFirst(QPainter& p) {
  QPainterPath bar(QPointF(6, 4));
  bar.lineTo(26, 4);
  Line(p, bar, kInk, 3.6);
  Arrow(p, QPointF(16, 29), QPointF(16, 8), kBlue, 5.0, 8.0);
}

void GoToLast(QPainter& p) {
  QPainterPath bar(QPointF(6, 28));
  bar.lineTo(26, 28);
  Line(p, bar, kInk, 3.6);
  Arrow(p, QPointF(16, 3), QPointF(16, 24), kBlue, 5.0, 8.0);
}

void RandomShow(QPainter& p) {
  Die(p, QPointF(11, 20), 15, -14, 5);
  Die(p, QPointF(22, 12), 13, 18, 3);
  StarBadge(p, QPointF(26, 26), 5.0, kGold);
}

void ShowNumbers(QPainter& p) {
  Photo(p, QRectF(2, 2, 24, 20));
  Fill(p, RoundRect(QRectF(11, 17, 20, 13), 3), kRose, 1.0);
  Text(p, "12", QPointF(21, 23.5), 8.0, kPaper);
}

void FaceExpert(QPainter& p) {
  FaceHead(p, QPointF(12.5, 17), 8.5);
  QPainterPath guide;
  guide.addEllipse(QPointF(12.5, 17), 10.5, 13.5);
  p.strokePath(guide, QPen(kInk, 3.0));
  p.strokePath(guide, QPen(kGold, 1.6, Qt::DashLine));
  Wand(p, QPointF(21, 31), QPointF(27.5, 10));
}

void Exit(QPainter& p) { Door(p, QRectF(2, 3, 28, 26)); }

// The face before and after: the left half bare, the right half with eye
// shadow and lipstick, split by a line.
void Compare(QPainter& p) {
  const QPointF c(16, 16);
  QPainterPath head;
  head.addEllipse(c, 11.5, 14);
  Fill(p, head, kSkin);
  p.save();
  p.setClipRect(QRectF(16, 0, 16, 32));
  QPainterPath lid(QPointF(17.2, 14));
  lid.cubicTo(18, 9.5, 24, 9.5, 24.8, 14);
  lid.cubicTo(23, 12.3, 19, 12.3, 17.2, 14);
  p.fillPath(lid, kShadow);
  QPainterPath lips(QPointF(13, 22));
  lips.quadTo(16, 26.5, 20.5, 22);
  lips.quadTo(16, 20.5, 13, 22);
  Fill(p, lips, kLip, 0.8);
  p.restore();
  p.fillPath(Circle(QPointF(11, 14), 1.3), kInk);
  p.fillPath(Circle(QPointF(21, 14), 1.3), kInk);
  QPainterPath bare(QPointF(11.5, 22.2));
  bare.quadTo(13.5, 23.6, 16, 23.4);
  Line(p, bare, kSkin.darker(150), 1.1);
  QPainterPath split(QPointF(16, 1));
  split.lineTo(16, 31);
  Line(p, split, kInk, 1.6);
}

void Undo(QPainter& p) { ArcArrow(p, QPointF(17, 17), 10, -40, 220, kBlue, 4.0); }

void Decrease(QPainter& p) {
  Magnifier(p, QPointF(13, 13), 9.5);
  QPainterPath minus(QPointF(8, 13));
  minus.lineTo(18, 13);
  Line(p, minus, kRed, 3.0);
}

void Rotate(QPainter& p) {
  p.save();
  p.translate(16, 16);
  p.rotate(-18);
  Photo(p, QRectF(-9, -7, 18, 14));
  p.restore();
  ArcArrow(p, QPointF(16, 16), 13.5, 110, -250, kGreen, 3.2);
}

void SaveDisk(QPainter& p) { Disk(p, QRectF(3, 3, 26, 26)); }

// A head-and-shoulders silhouette like the carving masks.
QPainterPath Bust(QPointF c, double s) {
  QPainterPath bust;
  bust.addEllipse(c + QPointF(0, -5 * s), 6.5 * s, 8 * s);
  QPainterPath body(c + QPointF(-3 * s, 2 * s));
  body.lineTo(c + QPointF(-3 * s, 5 * s));
  body.cubicTo(c + QPointF(-3 * s, 7 * s), c + QPointF(-11 * s, 7 * s), c + QPointF(-13 * s, 12 * s));
  body.lineTo(c + QPointF(13 * s, 12 * s));
  body.cubicTo(c + QPointF(11 * s, 7 * s), c + QPointF(3 * s, 7 * s), c + QPointF(3 * s, 5 * s));
  body.lineTo(c + QPointF(3 * s, 2 * s));
  body.closeSubpath();
  return bust.united(body);
}

// The face turned level and fitted into the template's dashed outline, with
// the eye line and a spark for the automatic.
void FitAutomatically(QPainter& p) {
  const QPointF c(14, 17);
  QPainterPath guide;
  guide.addEllipse(c, 10.5, 13.5);
  FaceHead(p, c, 9, false);
  p.strokePath(guide, QPen(kInk, 2.6));
  p.strokePath(guide, QPen(kGold, 1.4, Qt::DashLine));
  QPainterPath level(QPointF(2, 18.1));
  level.lineTo(26, 18.1);
  p.strokePath(level, QPen(kBlue, 1.1, Qt::DashLine));
  StarBadge(p, QPointF(25.5, 6.5), 5.5);
}

void CarveAutomatically(QPainter& p) {
  Fill(p, Bust(QPointF(13, 16), 1.1), QColor(150, 150, 150));
  Wand(p, QPointF(16, 30), QPointF(26, 8));
}

void CarveByHand(QPainter& p) {
  const QPainterPath bust = Bust(QPointF(11, 16), 0.95);
  p.fillPath(bust, kSkin);
  p.strokePath(bust, QPen(kInk, 1.5, Qt::DashLine));
  Scissors(p, QPointF(24, 21), 0.85, -95);
}

void Close(QPainter& p) { Exit(p); }

void DrawShape(QPainter& p, shapes::FaceShape shape) {
  // The face and ears of the shape, as the templates draw them, fitted into the grid.
  QPainterPath head;
  head.addPolygon(shapes::FaceOutline(shape));
  head.closeSubpath();
  for (shapes::Side side : {shapes::Side::Left, shapes::Side::Right}) {
    QPainterPath ear = shapes::EarRim(shape, side);
    ear.closeSubpath();
    head = head.united(ear);
  }
  QTransform t;
  t.translate(16, 16);
  t.scale(0.13, 0.13);
  t.translate(-114, -160);
  Fill(p, t.map(head), kSkin, 1.4);
  p.fillPath(Circle(QPointF(12.5, 15), 1.3), kInk);
  p.fillPath(Circle(QPointF(19.5, 15), 1.3), kInk);
  QPainterPath mouth(QPointF(13.5, 23));
  mouth.quadTo(16, 24.3, 18.5, 23);
  Line(p, mouth, kLip, 1.3);
}

void ShapeOval(QPainter& p) { DrawShape(p, shapes::FaceShape::Oval); }
void ShapeWide(QPainter& p) { DrawShape(p, shapes::FaceShape::Wide); }
void ShapeLong(QPainter& p) { DrawShape(p, shapes::FaceShape::Long); }
void ShapeRect(QPainter& p) { DrawShape(p, shapes::FaceShape::Rect); }
void ShapeTry(QPainter& p) { DrawShape(p, shapes::FaceShape::Try); }

void Rubber(QPainter& p, double size) {
  QPainterPath trail(QPointF(3, 27));
  trail.cubicTo(8, 22, 12, 30, 18, 24);
  Line(p, trail, kMist.darker(110), size * 0.55);
  Eraser(p, QPointF(19, 15), size);
}
void EraserSmall(QPainter& p) { Rubber(p, 9); }
void EraserMedium(QPainter& p) { Rubber(p, 13); }
void EraserLarge(QPainter& p) { Rubber(p, 17); }

void SaveFace(QPainter& p) {
  Disk(p, QRectF(2, 5, 24, 24));
  FaceHead(p, QPointF(23, 10), 7.5);
}

void OpenHairstyle(QPainter& p) {
  Folder(p, QRectF(1, 10, 28, 19));
  HairBob(p, QRectF(12, 1, 18, 20));
}

void SaveHairstyle(QPainter& p) {
  Disk(p, QRectF(2, 5, 24, 24));
  HairBob(p, QRectF(15, 1, 16, 18));
}

// ---- Main window page tabs ----

void HairstyleTab(QPainter& p) {
  QPainterPath face;
  face.addEllipse(QPointF(16, 16), 8, 10);
  Fill(p, face, kSkin);
  HairBob(p, QRectF(3, 2, 26, 28));
}

void MakeupTab(QPainter& p) { Lipstick(p, QPointF(14, 31), 30, 22); }

// ---- Make-up page ----

void OutlineRegions(QPainter& p) {
  const QPointF pts[] = {{5, 21}, {8, 9}, {19, 4}, {28, 13}, {23, 27}};
  QPainterPath poly(pts[0]);
  for (const QPointF& pt : pts) poly.lineTo(pt);
  poly.closeSubpath();
  p.fillPath(poly, QColor(217, 70, 122, 50));
  Line(p, poly, kRose, 2.0);
  for (const QPointF& pt : pts) Fill(p, RectPath(QRectF(pt.x() - 2.4, pt.y() - 2.4, 4.8, 4.8)), kPaper, 1.2);
}

void Eyes(QPainter& p) { Eye(p, QPointF(16, 19), 12, kShadow); }

// An eye and the lips, each with the lime outline the canvas shows around a
// found region, and a spark for the automatic.
void FindRegions(QPainter& p) {
  QPainterPath eyeRing;
  eyeRing.addEllipse(QPointF(11.5, 9.5), 9.5, 6.5);
  QPainterPath lipRing;
  lipRing.addEllipse(QPointF(14, 24), 10, 5.5);
  Eye(p, QPointF(11.5, 10.5), 6.5, kShadow);
  Lips(p, QPointF(14, 24), 8, kLip, false);
  for (const QPainterPath* ring : {&eyeRing, &lipRing}) {
    p.strokePath(*ring, QPen(kInk, 2.4));
    p.strokePath(*ring, QPen(QColor(0, 230, 0), 1.3, Qt::DashLine));
  }
  StarBadge(p, QPointF(26.5, 8), 5.0);
}
void LipstickTool(QPainter& p) { Lipstick(p, QPointF(13, 31), 30, 24); }
void LipLine(QPainter& p) { Lips(p, QPointF(16, 17), 14, kLip, true); }
void PencilTool(QPainter& p) { Pencil(p, QPointF(3, 29), 36, -45, kRose); }
void Applicator(QPainter& p) { Brush(p, QPointF(4, 28), 33, 8, -45, kShadow); }
void BigBrush(QPainter& p) { Brush(p, QPointF(3, 29), 32, 15, -45, QColor(240, 150, 170)); }

void ReloadFace(QPainter& p) {
  FaceHead(p, QPointF(13, 14), 10.5);
  Fill(p, Circle(QPointF(24, 24), 7.5), kPaper, 1.0);
  ArcArrow(p, QPointF(24, 24), 4.6, 90, 280, kGreen, 2.4);
}

// ---- Small buttons ----

void ColourReset(QPainter& p) {
  HairBob(p, QRectF(2, 2, 22, 25), kHair);
  Fill(p, Circle(QPointF(24, 24), 7.5), kPaper, 1.0);
  ArcArrow(p, QPointF(24, 24), 4.6, 90, 280, kGreen, 2.4);
}

void Ok(QPainter& p) { Check(p, QRectF(5, 7, 22, 18), kGreen); }
void Cancel(QPainter& p) { Cross(p, QRectF(7, 7, 18, 18), kRed); }
void EnlargedPreview(QPainter& p) {
  Photo(p, QRectF(2, 3, 22, 18));
  Magnifier(p, QPointF(20, 19), 7.5);
}

void PlayFrames(QPainter& p) {
  QPainterPath triangle(QPointF(9, 5));
  triangle.lineTo(27, 16);
  triangle.lineTo(9, 27);
  triangle.closeSubpath();
  Fill(p, triangle, kGreen);
}

void SupportMail(QPainter& p) { Envelope(p, QRectF(2, 7, 28, 19)); }
void About(QPainter& p) { InfoMark(p, QPointF(16, 16), 13.5); }

// ---- Frame buttons ----

void MoveLeft(QPainter& p) { Arrow(p, QPointF(28, 16), QPointF(4, 16), kBlue, 6.0, 11.0); }
void MoveUp(QPainter& p) { Arrow(p, QPointF(16, 28), QPointF(16, 4), kBlue, 6.0, 11.0); }
void MoveRight(QPainter& p) { Arrow(p, QPointF(4, 16), QPointF(28, 16), kBlue, 6.0, 11.0); }
void MoveDown(QPainter& p) { Arrow(p, QPointF(16, 4), QPointF(16, 28), kBlue, 6.0, 11.0); }

void OutwardPair(QPainter& p, QPointF a, QPointF b) {
  const QPointF mid = (a + b) / 2;
  Arrow(p, mid, a, kOrange, 4.0, 9.0);
  Arrow(p, mid, b, kOrange, 4.0, 9.0);
}

void InwardPair(QPainter& p, QPointF a, QPointF b) {
  const QPointF mid = (a + b) / 2;
  const QPointF d = (b - a) / 2;
  const QPointF n(-d.y(), d.x());
  QPainterPath bar(mid - n * 0.55);
  bar.lineTo(mid + n * 0.55);
  Line(p, bar, kInk, 2.6);
  Arrow(p, a, mid - d * 0.18, kOrange, 4.0, 9.0);
  Arrow(p, b, mid + d * 0.18, kOrange, 4.0, 9.0);
}

void Taller(QPainter& p) { OutwardPair(p, QPointF(16, 2), QPointF(16, 30)); }
void Shorter(QPainter& p) { InwardPair(p, QPointF(16, 1), QPointF(16, 31)); }
void Wider(QPainter& p) { OutwardPair(p, QPointF(2, 16), QPointF(30, 16)); }
void Narrower(QPainter& p) { InwardPair(p, QPointF(1, 16), QPointF(31, 16)); }
void Grow(QPainter& p) { OutwardPair(p, QPointF(3, 3), QPointF(29, 29)); }
void Shrink(QPainter& p) { InwardPair(p, QPointF(2, 2), QPointF(30, 30)); }

void ResetPlacement(QPainter& p) {
  // The corners of the face area, and the turn-back arrow inside.
  QPainterPath corners;
  for (QPointF c : {QPointF(3, 3), QPointF(29, 3), QPointF(29, 29), QPointF(3, 29)}) {
    const double dx = c.x() < 16 ? 7 : -7;
    const double dy = c.y() < 16 ? 7 : -7;
    corners.moveTo(c.x() + dx, c.y());
    corners.lineTo(c);
    corners.lineTo(c.x(), c.y() + dy);
  }
  Line(p, corners, kInk, 3.0);
  ArcArrow(p, QPointF(16, 16), 8, 90, 280, kGreen, 4.0);
}

}  // namespace

const std::vector<IconSet>& IconSets() {
  static const std::vector<IconSet> sets = {kMain, kMainTabs, kMenu, kMakeup, kButtons, kFrame,
                                            kFaceExpert, kFaceExpertErase, kAddHair};
  return sets;
}

const std::vector<Icon>& AllIcons() {
  static const std::vector<Icon> icons = {
      {&kMain, "0", "`tbOpenFace`", "Open face file", OpenFace},
      {&kMain, "1", "`tbOpenFile`", "Open graphic file", OpenPicture},
      {&kMain, "4", "`tbHairExpert`", "Create Hairstyle", CreateHairstyle},
      {&kMain, "6", "`tbAddGalery`", "Add to Gallery", AddToGallery},
      {&kMain, "7", "`tbExport`", "Export selected", Export},
      {&kMain, "8", "`tbPrint`", "Print selected", Print},
      {&kMain, "9", "`tbDeleteAll`", "Delete All", DeleteAll},
      {&kMain, "12", "`ToolButton1`, `ToolButton4`", "Help contents, Gallery Help", Help},
      {&kMain, "13", "`ToolButton5`", "Go to last", GoToLast},
      {&kMain, "14", "`ToolButton6`", "Go to first", GoToFirst},
      {&kMain, "15", "`tbRandomShow`", "Random show", RandomShow},
      {&kMain, "16", "`tbShowGalleryThumbs`", "Show pictures number", ShowNumbers},
      {&kMain, "18", "`tbFaceExpert`", "Face expert", FaceExpert},
      {&kMain, "19", "`tbCompare`", "Compare (held down)", Compare},

      {&kMainTabs, "0", "`TabSheetHairstyles`", "Hairstyle", HairstyleTab},
      {&kMainTabs, "1", "`TabSheetMakeup`", "Make-up", MakeupTab},

      {&kMenu, "face-file", "File, Open, \"Face file\"", "Open a face file", OpenFace},
      {&kMenu, "graphic-file", "File, Open, \"Graphic File\"", "Open a graphic file", OpenPicture},
      {&kMenu, "create-hairstyle", "File, \"Create hairstyle\"", "Create a hairstyle", CreateHairstyle},
      {&kMenu, "find-regions", "File, \"Find eyes and lips\"", "Find eyes and lips", FindRegions},
      {&kMenu, "exit", "File, \"EXIT\"", "Exit", Exit},
      {&kMenu, "gallery-add", "Gallery, \"Add\"", "Add to gallery", AddToGallery},
      {&kMenu, "gallery-export", "Gallery, \"Export\"", "Preview and export", Export},
      {&kMenu, "gallery-print", "Gallery, \"Print\"", "Preview and print", Print},
      {&kMenu, "help-contents", "Help, \"Contents\"", "Help contents", Help},
      {&kMenu, "support", "Help, \"Support e-mail\"", "Support web page", SupportMail},
      {&kMenu, "about", "Help, \"About\"", "About", About},

      {&kMakeup, "outline", "`bOutline`", "Outline make-up regions", OutlineRegions},
      {&kMakeup, "eyes", "`bEyes`", "Eyes colour selection", Eyes},
      {&kMakeup, "lipstick", "`bLipstick`", "Lipstick colour selection", LipstickTool},
      {&kMakeup, "lip-line", "`bLipsLine`", "Lips line colour selection", LipLine},
      {&kMakeup, "pencil", "`bPencil`", "Pencil", PencilTool},
      {&kMakeup, "applicator", "`bBrushMidle`", "Applicator", Applicator},
      {&kMakeup, "big-brush", "`bBrushBig`", "Big brush", BigBrush},
      {&kMakeup, "undo", "`bUndoMakeup`", "Undo", Undo},
      {&kMakeup, "reload-face", "`SpeedButton1`", "Reload face", ReloadFace},
      {&kMakeup, "help", "`bHelpMakeup`", "Make-up Help", Help},
      {&kMakeup, "find-regions", "`bFindRegions`", "Find eyes and lips", FindRegions},

      {&kButtons, "colour-reset", "`bColorReset`", "Default hairstyle color", ColourReset},
      {&kButtons, "help", "`bHelpHairs`", "Hairstyles Help", Help},
      {&kButtons, "ok", "`BitBtn3` of the rotation dialog", "OK", Ok},
      {&kButtons, "cancel", "`BitBtn2` of the rotation and save-hairstyle dialogs", "Cancel", Cancel},
      {&kButtons, "save", "`BitBtn1` of the save-hairstyle dialog", "Save", SaveDisk},
      {&kButtons, "preview", "`PreviewButton` of the picture open dialog", "Enlarged preview", EnlargedPreview},
      {&kButtons, "play", "`PlayButton` of the picture open dialog", "Play the frames", PlayFrames},

      {&kFrame, "move-left", "`b1`", "one pixel left", MoveLeft},
      {&kFrame, "move-up", "`b2`", "one pixel up", MoveUp},
      {&kFrame, "move-right", "`b3`", "one pixel right", MoveRight},
      {&kFrame, "move-down", "`b4`", "one pixel down", MoveDown},
      {&kFrame, "taller", "`b5`", "two pixels taller", Taller},
      {&kFrame, "shorter", "`b6`", "two pixels shorter", Shorter},
      {&kFrame, "wider", "`b7`", "two pixels wider", Wider},
      {&kFrame, "narrower", "`b8`", "two pixels narrower", Narrower},
      {&kFrame, "grow", "`b9`", "two pixels wider and taller", Grow},
      {&kFrame, "shrink", "`b10`", "two pixels narrower and shorter", Shrink},
      {&kFrame, "reset", "`SpeedButton9`", "reset the hair to the whole face", ResetPlacement},

      {&kFaceExpert, "0", "`bOpen`", "Open primary graphic face file", OpenPicture},
      {&kFaceExpert, "1", "`bZoomIn`", "Decrease the face if it is too large", Decrease},
      {&kFaceExpert, "2", "`bRotate`", "Rotate", Rotate},
      {&kFaceExpert, "3", "`bUndo`", "Undo", Undo},
      {&kFaceExpert, "4", "`tbCarveAuto`", "Carve automatically", CarveAutomatically},
      {&kFaceExpert, "5", "`bCutByHand`", "Carve manually", CarveByHand},
      {&kFaceExpert, "6", "`bHelp`", "Help", Help},
      {&kFaceExpert, "7", "`bClose`", "Close", Close},
      {&kFaceExpert, "8", "`bShape`, `Oval1`", "Oval face shape", ShapeOval},
      {&kFaceExpert, "9", "`bShape`, `Wide1`", "Wide face shape", ShapeWide},
      {&kFaceExpert, "10", "`bShape`, `Long1`", "Long face shape", ShapeLong},
      {&kFaceExpert, "11", "`bShape`, `Rectangle1`", "Rect face shape", ShapeRect},
      {&kFaceExpert, "12", "`bShape`, `Triangle1`", "Try face shape", ShapeTry},
      {&kFaceExpert, "13", "`bFitAuto`", "Fit the face automatically", FitAutomatically},

      {&kFaceExpertErase, "0", "`bBrush1`", "Eraser (small, 5 pixels)", EraserSmall},
      {&kFaceExpertErase, "1", "`bBrush2`", "Eraser (medium, 10 pixels)", EraserMedium},
      {&kFaceExpertErase, "2", "`bBrush3`", "Eraser (large, 20 pixels)", EraserLarge},
      {&kFaceExpertErase, "3", "`ToolButton13`", "Undo the last change", Undo},
      {&kFaceExpertErase, "4", "`bSave`", "Save the face", SaveFace},
      {&kFaceExpertErase, "5", "`ToolButton15`", "Close", Close},

      {&kAddHair, "0", "`bOpen`", "Open graphic hairstyle file", OpenHairstyle},
      {&kAddHair, "1", "`bZoomIn`", "Decrease the face if it is too large", Decrease},
      {&kAddHair, "2", "`bRotate`", "Rotate", Rotate},
      {&kAddHair, "3", "`bUndo`", "Undo", Undo},
      {&kAddHair, "4", "`bSave`", "Save hairstyle", SaveHairstyle},
      {&kAddHair, "5", "`bHelp`", "Help", Help},
      {&kAddHair, "6", "`bClose`", "Close", Close},
  };
  return icons;
}

QImage Render(const Icon& icon, int scale) {
  const int w = icon.Set->Width * scale;
  const int h = icon.Set->Height * scale;
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // The square design grid, centred in a picture that may be wider than high.
  const double side = std::min(w, h);
  p.translate((w - side) / 2.0, (h - side) / 2.0);
  p.scale(side / 32.0, side / 32.0);
  icon.Draw(p);
  p.end();
  return image;
}

}  // namespace glamora::icons
