// The hair view over the make-up canvas: it shows the model's hair where the
// model places it, the frame moves the model's placement, and what the
// gallery composes is exactly what the screen shows.
#include <gtest/gtest.h>

#include "imaging/components/ImgIO.h"
#include "model/Makeover.h"
#include "tests/support/FaceFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/views/HairTestSupport.h"
#include "views/FrameBox.h"
#include "views/FrameButtons.h"
#include "views/HairView.h"
#include "views/Makeup.h"

namespace glamora {
namespace {

using test::PixelOf;

// A hair picture with see-through white on every third diagonal and
// colours elsewhere.
Bitmap PatternedHair(int width, int height) {
  Bitmap hair(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      hair.SetPixel(x, y, (x + 2 * y) % 3 == 0 ? clWhite : Rgb(uint8_t(9 * x), uint8_t(5 * y), uint8_t(x + y)));
    }
  }
  return hair;
}

// The canvas with a face, the hair view over it and the frame box placing
// the hair, as the main window has them.
class HairScene {
 public:
  HairScene(TBorderStyle border, const Bitmap& hairPicture) {
    test::TempFolder dir;
    const std::string hairFile = dir.File("hair.bmp");
    {
      Bitmap copy;
      copy.Assign(hairPicture);
      TImgIO io;
      io.SetBitmap(&copy);
      EXPECT_TRUE(io.SaveToFileAs(iftBmp, hairFile));
    }
    model.SetFace(test::StandardFacePicture());
    model.SetTint({0, 0, 0});
    EXPECT_EQ(model.LoadHairstyle(hairFile), THairLoad::Loaded);
    canvas.SetBorderStyle(border);
    canvas.SetBackground(clWhite);
    const int frame = 2 * canvas.BorderWidth();
    canvas.resize(228 + frame, 314 + frame);
    hair = new THairView(canvas);
    box = new TFrameBox(&canvas);
    box->HideOutline();
    box->AttachTarget(hair);
    ResetHairPlacement(*box);
    canvas.Update();
  }

  // Every face pixel on the screen against the composed picture.
  void ExpectScreenMatchesComposition(const std::string& what) {
    const QImage shot = canvas.grab().toImage();
    const Bitmap composed = model.Compose();
    const QPoint origin = canvas.ClientOrigin();
    int mismatches = 0;
    for (int y = 0; y < 314 && mismatches < 5; ++y) {
      for (int x = 0; x < 228 && mismatches < 5; ++x) {
        const TColor screen = PixelOf(shot, origin.x() + x, origin.y() + y);
        if (screen != composed.Pixel(x, y)) {
          ++mismatches;
          ADD_FAILURE() << what << ": pixel " << x << ", " << y << " is " << std::hex << screen << " on screen, "
                        << composed.Pixel(x, y) << " composed";
        }
      }
    }
  }

  Makeover model;
  TMakeup canvas{model};
  THairView* hair = nullptr;
  TFrameBox* box = nullptr;
};

TEST(HairViewTest, TheFrameMovesTheModelsPlacementAndTheViewFollows) {
  HairScene scene(bsSingle, PatternedHair(57, 83));
  EXPECT_EQ(scene.model.HairPlacement(), (PixelRect{0, 0, 228, 314}));
  EXPECT_EQ(scene.box->Frame.Bounds, (TRect{0, 0, 227, 313}));
  const QPoint origin = scene.canvas.ClientOrigin();
  EXPECT_EQ(scene.hair->geometry(), QRect(origin, QSize(228, 314)));

  scene.box->MoveBy(1, 0);
  EXPECT_EQ(scene.model.HairPlacement(), (PixelRect{2, 1, 226, 312}));
  EXPECT_EQ(scene.hair->geometry(), QRect(origin + QPoint(2, 1), QSize(226, 312)));
  EXPECT_TRUE(scene.hair->Bitmap()->SameContent(scene.model.Hair()));

  // A tint shows at once; the placement is the model's, whatever the canvas shows.
  scene.model.SetTint({10, 20, 30});
  EXPECT_TRUE(scene.hair->Bitmap()->SameContent(scene.model.Hair()));
  scene.canvas.SetZoom(300);
  EXPECT_EQ(scene.model.HairPlacement(), (PixelRect{2, 1, 226, 312}));
  EXPECT_EQ(scene.hair->geometry(), QRect(origin + QPoint(6, 3), QSize(678, 936)));

  scene.box->HideWithImage();
  EXPECT_TRUE(scene.hair->isHidden());
  scene.box->ShowWithImage();
  EXPECT_FALSE(scene.hair->isHidden());
}

TEST(HairViewTest, WhatIsComposedIsWhatTheScreenShows) {
  struct Placement {
    const char* what;
    int moveX, moveY, growX, growY;
  };
  const Placement placements[] = {
      {"reset", 0, 0, 0, 0},
      {"moved", 7, -5, 0, 0},
      {"stretched", 0, 0, 13, 9},
      {"shrunk", 0, 0, -40, -30},
      {"moved and widened", -30, 20, 5, 0},
      {"partly off the face", 150, 250, 0, 0},
  };
  const Bitmap hairPictures[] = {PatternedHair(228, 314), PatternedHair(57, 83)};
  for (const TBorderStyle border : {bsNone, bsSingle}) {
    for (const Bitmap& hairPicture : hairPictures) {
      for (const Placement& p : placements) {
        HairScene scene(border, hairPicture);
        scene.box->MoveBy(p.moveX, p.moveY);
        if (p.growX != 0 || p.growY != 0) {
          ASSERT_TRUE(scene.box->GrowBy(p.growX, p.growY));
        }
        scene.ExpectScreenMatchesComposition(std::string(p.what) + (border == bsNone ? "" : ", bordered") + ", " +
                                             std::to_string(hairPicture.Width()) + " wide");
      }
    }
  }
}

}  // namespace
}  // namespace glamora
