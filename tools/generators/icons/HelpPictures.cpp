// Drawing of the help pages' pictures.
#include "tools/generators/icons/HelpPictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <stdexcept>

#include "face/StandardFace.h"
#include "tools/generators/icons/Glyphs.h"
#include "tools/generators/icons/Icons.h"
#include "tools/generators/icons/Logo.h"
#include "tools/generators/shapes/FaceShapes.h"

namespace glamora::icons {

namespace sf = glamora::standard_face;
using namespace palette;

namespace {

const QColor kPanel(236, 236, 236);
const QColor kWindowEdge(160, 166, 176);
const QColor kTitle(91, 42, 94);
const QColor kClothes(70, 150, 160);
const QColor kPhotoBackground(176, 200, 222);
const QColor kTemplateLine(255, 216, 0);
const QColor kTemplateRim(12, 28, 64);

QImage Canvas(int w, int h, const QColor& background = Qt::white) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(background);
  return image;
}

const Icon& FindIcon(const char* folder, const char* key) {
  for (const Icon& icon : AllIcons())
    if (QString(icon.Set->Folder) == folder && icon.Key == key) return icon;
  throw std::logic_error(std::string("no icon ") + folder + "/" + key);
}

// Draws an icon with its top-left corner at `at`, `size` pixels square.
void PutIcon(QPainter& p, const char* folder, const char* key, QPointF at, double size) {
  p.save();
  p.translate(at);
  p.scale(size / 32.0, size / 32.0);
  FindIcon(folder, key).Draw(p);
  p.restore();
}

void Label(QPainter& p, const QString& text, QPointF centre, double size, const QColor& colour = kInk,
           bool bold = false) {
  QFont font("DejaVu Sans");
  font.setPixelSize(int(size));
  font.setBold(bold);
  p.save();
  p.setFont(font);
  p.setPen(colour);
  const QRectF box(centre.x() - 200, centre.y() - size, 400, 2 * size);
  p.drawText(box, Qt::AlignCenter, text);
  p.restore();
}

void NumberBadge(QPainter& p, int n, QPointF centre, const QColor& colour = kRose) {
  Fill(p, Circle(centre, 10), colour, 1.2);
  Label(p, QString::number(n), centre, 13, kPaper, true);
}

// ---- A drawn face in the standard geometry (228 × 314 picture coordinates) ----

QPainterPath FaceAndNeck() {
  return shapes::Silhouette(shapes::FaceShape::Oval);
}

void DrawHair(QPainter& p, bool back) {
  const double cx = sf::kCentreX;
  if (back) {
    QPainterPath hair;
    hair.addRoundedRect(QRectF(cx - 84, sf::kCrownY - 8, 168, 236), 80, 90);
    p.fillPath(hair, kHair);
    return;
  }
  QPainterPath fringe(QPointF(cx - 78, 170));
  fringe.cubicTo(cx - 92, 60, cx - 40, 28, cx + 10, 34);
  fringe.cubicTo(cx + 70, 40, cx + 96, 90, cx + 78, 170);
  fringe.cubicTo(cx + 66, 120, cx + 50, 90, cx + 20, 86);
  fringe.cubicTo(cx - 10, 100, cx - 50, 96, cx - 62, 120);
  fringe.cubicTo(cx - 66, 140, cx - 70, 160, cx - 78, 170);
  fringe.closeSubpath();
  p.fillPath(fringe, kHair);
  QPainterPath strands(QPointF(cx - 20, 44));
  strands.cubicTo(cx - 60, 60, cx - 72, 100, cx - 72, 150);
  strands.moveTo(cx + 20, 44);
  strands.cubicTo(cx + 60, 60, cx + 74, 100, cx + 72, 150);
  p.strokePath(strands, QPen(kHair.lighter(130), 2.0));
}

void DrawFace(QPainter& p, bool withHair, bool withMakeup = false) {
  p.save();
  p.translate(0.5, 0.5);
  if (withHair) DrawHair(p, true);
  const QPainterPath body = FaceAndNeck();
  p.fillPath(body, kSkin);
  // Clothes over the shoulders.
  QPainterPath clothes;
  clothes.addRect(-5, sf::kShoulderY + 2, sf::kWidth + 10, 40);
  p.save();
  p.setClipPath(body);
  p.fillPath(clothes, kClothes);
  QPainterPath collar(QPointF(sf::kNeckLeft - 4, sf::kShoulderY + 2));
  collar.quadTo(sf::kCentreX, sf::kShoulderY + 24, sf::kNeckRight + 4, sf::kShoulderY + 2);
  p.fillPath(collar, kSkin);
  p.restore();
  p.strokePath(body, QPen(kSkin.darker(125), 1.2));

  const double ey = sf::kEyeLineY;
  for (int x : {sf::kLeftEyeX, sf::kRightEyeX}) {
    const double w = sf::kEyeHalfWidth, h = sf::kEyeHalfHeight;
    if (withMakeup) {
      QPainterPath shadow(QPointF(x - w - 3, ey));
      shadow.cubicTo(x - w, ey - h * 3.2, x + w, ey - h * 3.2, x + w + 3, ey);
      shadow.cubicTo(x + w * 0.5, ey - h * 1.2, x - w * 0.5, ey - h * 1.2, x - w - 3, ey);
      p.fillPath(shadow, QColor(150, 100, 190, 170));
    }
    QPainterPath brow(QPointF(x - w - 3, ey - 15));
    brow.quadTo(x, ey - 27, x + w + 3, ey - 17);
    p.strokePath(brow, QPen(kHair.darker(120), 3.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath eye(QPointF(x - w, ey));
    eye.cubicTo(x - w / 2, ey - h * 1.4, x + w / 2, ey - h * 1.4, x + w, ey);
    eye.cubicTo(x + w / 2, ey + h * 1.3, x - w / 2, ey + h * 1.3, x - w, ey);
    p.fillPath(eye, kPaper);
    p.save();
    p.setClipPath(eye);
    p.fillPath(Circle(QPointF(x, ey), 5.5), QColor(90, 120, 80));
    p.fillPath(Circle(QPointF(x, ey), 2.6), kInk);
    p.restore();
    p.strokePath(eye, QPen(kInk, 1.4));
  }
  QPainterPath nose(QPointF(sf::kCentreX - 3, ey + 8));
  nose.cubicTo(sf::kCentreX - 4, 176, sf::kCentreX - 12, 186, sf::kCentreX - 7, sf::kNoseY);
  nose.quadTo(sf::kCentreX, sf::kNoseY + 4, sf::kCentreX + 7, sf::kNoseY);
  p.strokePath(nose, QPen(kSkin.darker(150), 1.6, Qt::SolidLine, Qt::RoundCap));

  const double mw = sf::kMouthHalfWidth, my = sf::kMouthY;
  QPainterPath lips(QPointF(sf::kCentreX - mw, my));
  lips.cubicTo(sf::kCentreX - 12, my - 8, sf::kCentreX - 4, my - 8, sf::kCentreX, my - 5);
  lips.cubicTo(sf::kCentreX + 4, my - 8, sf::kCentreX + 12, my - 8, sf::kCentreX + mw, my);
  lips.cubicTo(sf::kCentreX + 12, my + 11, sf::kCentreX - 12, my + 11, sf::kCentreX - mw, my);
  lips.closeSubpath();
  p.fillPath(lips, withMakeup ? kLip : QColor(205, 120, 120));
  QPainterPath parting(QPointF(sf::kCentreX - mw + 1, my));
  parting.quadTo(sf::kCentreX, my + 3, sf::kCentreX + mw - 1, my);
  p.strokePath(parting, QPen(QColor(120, 50, 50), 1.2));
  if (withHair) DrawHair(p, false);
  p.restore();
}

// The Oval template's lines as the face expert shows them.
void DrawTemplate(QPainter& p) {
  p.save();
  p.translate(0.5, 0.5);
  QPainterPath figure;
  figure.addPolygon(shapes::FaceOutline(shapes::FaceShape::Oval));
  figure.closeSubpath();
  for (shapes::Side side : {shapes::Side::Left, shapes::Side::Right}) figure.addPath(shapes::EarRim(shapes::FaceShape::Oval, side));
  QPainterPath outside;
  outside.addRect(-10, -10, sf::kWidth + 20, sf::kHeight + 20);
  QPainterPath face;
  face.addPolygon(shapes::FaceOutline(shapes::FaceShape::Oval));
  outside = outside.subtracted(face);
  for (const auto& [colour, width] : {std::pair{kTemplateRim, 4.0}, std::pair{kTemplateLine, 1.8}}) {
    p.strokePath(figure, QPen(colour, width));
    p.save();
    p.setClipPath(outside);
    p.strokePath(shapes::NeckAndShoulderLines(), QPen(colour, width));
    p.restore();
    QPainterPath guide(QPointF(70, sf::kEyeLineY));
    guide.lineTo(158, sf::kEyeLineY);
    guide.moveTo(sf::kCentreX - sf::kMouthHalfWidth, sf::kMouthY);
    guide.lineTo(sf::kCentreX + sf::kMouthHalfWidth, sf::kMouthY);
    p.strokePath(guide, QPen(colour == kTemplateLine ? QColor(0, 224, 255) : colour, width * 0.7, Qt::DashLine));
  }
  p.restore();
}

// ---- The pictures ----

QImage MainWindowPicture() {
  QImage image = Canvas(520, 330, Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // Window frame, title and menu.
  Fill(p, RoundRect(QRectF(1, 1, 518, 328), 5), kPanel, 1.5);
  p.fillPath(RoundRect(QRectF(2, 2, 516, 22), 4), kTitle);
  Label(p, "Glamora - Modela.eff", QPointF(260, 13), 12, kPaper, true);
  Label(p, "File     Gallery     Help", QPointF(80, 35), 11);

  // 1: face area with its tool bar.
  const QRectF faceArea(8, 46, 230, 276);
  Fill(p, RoundRect(faceArea, 2), QColor(222, 222, 222), 1.0);
  const char* tools[] = {"0", "1", "18", "4", "15", "12"};
  for (int i = 0; i < 6; ++i) PutIcon(p, "main", tools[i], QPointF(14 + i * 30 + (i >= 4 ? 8 : 0), 50), 24);
  p.fillRect(QRectF(10, 78, 226, 1), kWindowEdge);
  p.save();
  p.translate(58, 88);
  p.scale(0.72, 0.72);
  p.fillRect(QRectF(0, 0, sf::kWidth, sf::kHeight), Qt::white);
  DrawFace(p, true);
  p.restore();
  // Frame buttons, schematically.
  for (const QRectF& r : {QRectF(22, 150, 14, 70), QRectF(210, 150, 14, 70), QRectF(110, 84, 30, 8),
                          QRectF(110, 316, 30, 5)}) {
    Fill(p, RoundRect(r, 2), kMist, 1.0);
  }

  // 2: the pages.
  const QRectF pages(244, 46, 150, 276);
  Fill(p, RoundRect(pages.adjusted(0, 22, 0, 0), 2), QColor(246, 246, 246), 1.0);
  Fill(p, RoundRect(QRectF(246, 48, 70, 22), 2), QColor(246, 246, 246), 1.0);
  PutIcon(p, "maintabs", "0", QPointF(250, 50), 18);
  Label(p, "Hairstyle", QPointF(292, 59), 9);
  Fill(p, RoundRect(QRectF(318, 50, 68, 20), 2), kPanel, 1.0);
  PutIcon(p, "maintabs", "1", QPointF(320, 51), 16);
  Label(p, "Make-up", QPointF(358, 60), 9);
  // Colour box: saturation/value field and hue bar.
  const QRectF field(250, 76, 112, 56);
  QLinearGradient across(field.topLeft(), field.topRight());
  across.setColorAt(0, QColor(200, 200, 200));
  across.setColorAt(1, QColor(220, 60, 40));
  p.fillRect(field, across);
  QLinearGradient down(field.topLeft(), field.bottomLeft());
  down.setColorAt(0, QColor(0, 0, 0, 0));
  down.setColorAt(1, QColor(0, 0, 0, 220));
  p.fillRect(field, down);
  QLinearGradient hue(QPointF(0, 132), QPointF(0, 76));
  const QColor hues[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta, Qt::red};
  for (int i = 0; i < 7; ++i) hue.setColorAt(i / 6.0, hues[i]);
  p.fillRect(QRectF(368, 76, 18, 56), hue);
  Fill(p, RoundRect(QRectF(250, 138, 92, 16), 2), kPaper, 1.0);
  Label(p, "Short  \u25be", QPointF(296, 146), 9);
  PutIcon(p, "buttons", "colour-reset", QPointF(346, 138), 16);
  PutIcon(p, "buttons", "help", QPointF(366, 138), 16);
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const QRectF thumb(252 + col * 46, 160 + row * 54, 40, 50);
      p.fillRect(thumb, Qt::white);
      p.save();
      p.translate(thumb.topLeft() + QPointF(4, 6));
      p.scale(1.0, 1.2);
      HairBob(p, QRectF(0, 0, 32, 30), QColor(150 - row * 30 + col * 20, 100 - row * 20, 50 + col * 10));
      p.restore();
      p.strokePath(RectPath(thumb), QPen(row == 0 && col == 0 ? QColor(219, 175, 0) : kMist, row + col == 0 ? 2 : 1));
    }
  }

  // 3: the gallery.
  const QRectF gallery(400, 46, 112, 276);
  Fill(p, RoundRect(gallery, 2), QColor(222, 222, 222), 1.0);
  const char* galleryTools[] = {"6", "14", "13", "9", "7", "8", "16", "12"};
  for (int i = 0; i < 8; ++i) PutIcon(p, "main", galleryTools[i], QPointF(406, 52 + i * 33), 24);
  for (int i = 0; i < 3; ++i) {
    const QRectF thumb(440, 54 + i * 88, 64, 84);
    p.fillRect(thumb, Qt::white);
    p.save();
    p.translate(thumb.topLeft());
    p.scale(64.0 / sf::kWidth, 84.0 / sf::kHeight);
    DrawFace(p, true, i == 1);
    p.restore();
    p.strokePath(RectPath(thumb), QPen(QColor(219, 175, 0), i == 2 ? 2.0 : 1.0));
  }

  NumberBadge(p, 1, QPointF(226, 96));
  NumberBadge(p, 2, QPointF(384, 96));
  NumberBadge(p, 3, QPointF(500, 52));
  p.end();
  return image;
}

QImage FrameButtonsPicture() {
  QImage image = Canvas(300, 380, kPanel);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF canvas(36, 37);
  p.save();
  p.translate(canvas);
  p.fillRect(QRectF(0, 0, sf::kWidth, sf::kHeight), Qt::white);
  DrawFace(p, true);
  p.strokePath(RectPath(QRectF(0, 0, sf::kWidth, sf::kHeight)), QPen(kWindowEdge, 1.0));
  p.restore();
  struct Button {
    QRectF Place;
    const char* Icon;
  };
  // The places of the buttons on the frame-button panel.
  const Button buttons[] = {
      {{5, 143, 26, 81}, "move-left"},  {{116, 9, 65, 27}, "move-up"},   {{264, 143, 25, 78}, "move-right"},
      {{113, 353, 73, 22}, "move-down"}, {{4, 50, 26, 36}, "taller"},     {{4, 90, 26, 40}, "shorter"},
      {{44, 10, 30, 26}, "wider"},       {{75, 9, 34, 27}, "narrower"},   {{8, 7, 30, 31}, "grow"},
      {{252, 8, 32, 33}, "shrink"},      {{5, 234, 25, 85}, "reset"},
  };
  for (const Button& b : buttons) {
    Fill(p, RoundRect(b.Place, 3), QColor(246, 246, 246), 1.2);
    PutIcon(p, "frame", b.Icon, b.Place.center() - QPointF(8, 8), 16);
  }
  p.end();
  return image;
}

QImage OutlineRegionsPicture() {
  QImage image = Canvas(456, 314);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  DrawFace(p, false);

  // The splits between the regions.
  QPen split(kSteel, 1.2, Qt::DashLine);
  p.setPen(split);
  p.drawLine(QPointF(sf::kCentreX + 0.5, 20), QPointF(sf::kCentreX + 0.5, sf::kEyeMouthSplitY));
  p.drawLine(QPointF(0, sf::kEyeMouthSplitY + 0.5), QPointF(sf::kWidth, sf::kEyeMouthSplitY + 0.5));

  auto polygon = [&](const std::vector<QPointF>& pts, const QColor& colour) {
    QPainterPath poly(pts.front());
    for (const QPointF& pt : pts) poly.lineTo(pt);
    poly.closeSubpath();
    QColor fill = colour;
    fill.setAlpha(60);
    p.fillPath(poly, fill);
    p.strokePath(poly, QPen(colour.darker(110), 1.6));
    for (const QPointF& pt : pts) Fill(p, RectPath(QRectF(pt.x() - 2, pt.y() - 2, 4, 4)), kPaper, 1.0);
  };
  auto eye = [&](double x) {
    std::vector<QPointF> pts;
    for (int i = 0; i < 12; ++i) {
      const double a = 2 * M_PI * i / 12;
      const double up = std::sin(a) < 0 ? 12.0 : 9.0;  // more room above, where the lid is
      pts.emplace_back(x + 20 * std::cos(a), sf::kEyeLineY - 1 + up * std::sin(a));
    }
    polygon(pts, kShadow);
  };
  eye(sf::kLeftEyeX);
  eye(sf::kRightEyeX);
  const double cx = sf::kCentreX, my = sf::kMouthY;
  polygon({{cx - 23, my}, {cx - 13, my - 8}, {cx - 4, my - 9}, {cx, my - 6}, {cx + 4, my - 9}, {cx + 13, my - 8},
           {cx + 23, my}, {cx + 12, my + 9}, {cx, my + 10}, {cx - 12, my + 9}},
          kLip);
  NumberBadge(p, 1, QPointF(sf::kLeftEyeX, 104), kShadow);
  NumberBadge(p, 2, QPointF(sf::kRightEyeX, 104), kShadow);
  NumberBadge(p, 3, QPointF(cx + 42, my + 2), kLip);

  // The mirror: the left half of the lips, then Alt + click.
  p.fillRect(QRectF(236, 0, 220, 314), QColor(248, 244, 248));
  Label(p, "Lips with the mirror:", QPointF(346, 20), 12, kInk, true);
  Label(p, "click the left half, starting", QPointF(346, 44), 11);
  Label(p, "and ending on the middle line,", QPointF(346, 60), 11);
  Label(p, "then Alt + click", QPointF(346, 76), 11);
  const QPointF o(346, 180);
  const double s = 3.4;
  const std::vector<QPointF> half = {{0, -5}, {-6, -10}, {-15, -8}, {-25, 0}, {-14, 9}, {0, 11}};
  QPainterPath mirrored(o + half.back() * s);
  for (auto it = half.rbegin(); it != half.rend(); ++it) mirrored.lineTo(o + QPointF(-it->x(), it->y()) * s);
  p.strokePath(mirrored, QPen(kLip, 1.6, Qt::DashLine));
  QPainterPath clicked(o + half.front() * s);
  for (const QPointF& pt : half) clicked.lineTo(o + pt * s);
  p.strokePath(clicked, QPen(kLip.darker(110), 2.0));
  p.setPen(QPen(kSteel, 1.2, Qt::DashLine));
  p.drawLine(o + QPointF(0, -60), o + QPointF(0, 60));
  for (size_t i = 0; i < half.size(); ++i) {
    const QPointF pt = o + half[i] * s;
    Fill(p, RectPath(QRectF(pt.x() - 3, pt.y() - 3, 6, 6)), kPaper, 1.0);
    // Numbers outside the outline, away from the lips' middle.
    QPointF away = half[i] - QPointF(-8, 0);
    away /= std::hypot(away.x(), away.y());
    Label(p, QString::number(i + 1), pt + away * 15, 11, kInk, true);
  }
  Label(p, "mirrored half", o + QPointF(52, 56), 10, kLip.darker(110));
  Label(p, "region 1: left eye   region 2: right eye", QPointF(346, 276), 10);
  Label(p, "region 3: lips", QPointF(346, 292), 10);
  p.end();
  return image;
}

QImage FaceExpertPicture() {
  QImage image = Canvas(540, 240, Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double scale = 0.62;
  const double step = 190;
  const char* captions[] = {"1. Fit the photograph", "2. Carve", "3. Erase and save"};
  for (int i = 0; i < 3; ++i) {
    const QPointF at(12 + i * step, 6);
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    const QRectF frame(0, 0, sf::kWidth, sf::kHeight);
    if (i == 0) {
      p.fillRect(frame, kPhotoBackground);
      // A window in the background of the photograph.
      p.fillRect(QRectF(150, 20, 60, 80), QColor(230, 240, 250));
      DrawFace(p, true);
      DrawTemplate(p);
    } else {
      // Carved: only face, ears, neck and shoulders are left of the photograph.
      p.fillRect(frame, Qt::white);
      p.save();
      p.setClipPath(FaceAndNeck().translated(0.5, 0.5));
      p.fillRect(frame, kPhotoBackground);
      if (i == 1) {
        DrawFace(p, true);
        // Hair falling over the ears is still there.
        for (shapes::Side side : {shapes::Side::Left, shapes::Side::Right}) {
          QPainterPath ear = shapes::EarRim(shapes::FaceShape::Oval, side);
          ear.closeSubpath();
          p.fillPath(ear.translated(0.5, 0.5), kHair);
        }
      } else {
        // Erased: the background and the hair beside the ears are rubbed
        // out; the hair over the forehead stays for the hairstyles to cover.
        p.fillRect(frame, Qt::white);
        DrawFace(p, false);
        p.setClipRect(QRectF(0, 0, sf::kWidth, 96), Qt::IntersectClip);
        DrawFace(p, true);
      }
      p.restore();
    }
    p.strokePath(RectPath(frame), QPen(kWindowEdge, 1.5));
    p.restore();
    Label(p, captions[i], QPointF(at.x() + sf::kWidth * scale / 2, 224), 12, kInk, true);
    if (i < 2) Arrow(p, QPointF(at.x() + sf::kWidth * scale + 8, 100), QPointF(at.x() + step - 8, 100), kRose, 3.0, 7.0);
  }
  PutIcon(p, "faceexpert", "4", QPointF(12 + step + 104, 150), 32);
  PutIcon(p, "faceexpert-erase", "1", QPointF(12 + 2 * step + 96, 60), 36);
  p.end();
  return image;
}

}  // namespace

std::vector<HelpPicture> AllHelpPictures() {
  std::vector<HelpPicture> pictures = {
      {"logo.png", [] { return RenderLogo(1); }},
      {"main-window.png", MainWindowPicture},
      {"frame-buttons.png", FrameButtonsPicture},
      {"outline-regions.png", OutlineRegionsPicture},
      {"face-expert.png", FaceExpertPicture},
  };
  // Every icon once, at its tool bar size, named after its set and key.
  for (const Icon& icon : AllIcons()) {
    pictures.push_back({QString("%1-%2.png").arg(icon.Set->Folder, icon.Key), [&icon] { return Render(icon, 1); }});
  }
  return pictures;
}

}  // namespace glamora::icons
