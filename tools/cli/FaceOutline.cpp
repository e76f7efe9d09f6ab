// glamora-cli face outline: proposes the eye and lip regions of a face from
// its landmarks and writes them into the face file's header, as the Make-up
// page's "Find eyes and lips" does.
#include <cstdio>

#include "face/FaceFile.h"
#include "landmarks/LandmarkFinder.h"
#include "model/Makeover.h"
#include "model/ProposedRegions.h"
#include "tools/cli/Cli.h"

namespace glamora::cli {

int FaceOutline(const Args& args) {
  if (args.size() != 1) throw Failure("usage: face outline FACE");
  const std::string& file = args[0];
  // Model faces are never written, as the outline editor never writes them.
  switch (FaceFileKindOf(file)) {
    case FaceFileKind::Enciphered: throw Failure(file + ": model faces (.eff) keep their outlines");
    case FaceFileKind::NotAFaceFile: throw Failure(file + ": not a face file (the extension must be .mff)");
    case FaceFileKind::Plain: break;
  }
  Makeover face;
  if (!face.LoadFace(file)) throw Failure(file + ": cannot load this face file");
  LandmarkFinder finder;
  const FaceSearch search = finder.Find(face.Face());
  switch (search.Result) {
    case FaceSearch::Outcome::Unavailable: throw Failure(search.Message);
    case FaceSearch::Outcome::NoFace: throw Failure(file + ": " + search.Message);
    case FaceSearch::Outcome::Found: break;
  }
  const int stored = StoreProposedRegions(face, search.Points);
  if (stored == 0) throw Failure(file + ": the face's eyes and lips lie off the picture");
  face.SaveHeader();
  std::printf("%d regions\n", stored);
  return 0;
}

}  // namespace glamora::cli
