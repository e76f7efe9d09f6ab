// glamora-cli face landmarks: the 68 points of the largest face in a picture,
// one "X Y" a line, for scripts.
#include <cstdio>

#include "imaging/components/ImgIO.h"
#include "imaging/core/Rounding.h"
#include "landmarks/LandmarkFinder.h"
#include "tools/cli/Cli.h"

namespace glamora::cli {

int FaceLandmarks(const Args& args) {
  if (args.size() != 1) throw Failure("usage: face landmarks PICTURE");
  Bitmap picture;
  TImgIO io;
  io.SetBitmap(&picture);
  if (!io.LoadFromFile(args[0])) throw Failure("cannot read picture " + args[0]);
  LandmarkFinder finder;
  const FaceSearch search = finder.Find(picture);
  switch (search.Result) {
    case FaceSearch::Outcome::Unavailable: throw Failure(search.Message);
    case FaceSearch::Outcome::NoFace: throw Failure(args[0] + ": " + search.Message);
    case FaceSearch::Outcome::Found: break;
  }
  for (const PointF& p : search.Points) std::printf("%d %d\n", RoundEvenInt(p.X), RoundEvenInt(p.Y));
  return 0;
}

}  // namespace glamora::cli
