#pragma once
// Finding a face in a picture and placing its 68 landmarks. A built-in
// detector finds the faces on a small grey copy of the picture; a trained
// shape model, read from a file, places the points on the full-resolution
// grey picture. Making the detector and reading the model take a second or
// two each, so both happen once, side by side on a worker thread, when first
// needed or earlier when the caller starts the loading.
//
// All calls are safe from any thread. A build without the face finder keeps
// this interface; every search then answers Unavailable with a message
// saying what is missing.
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "imaging/core/Bitmap.h"
#include "imaging/core/PixelRect.h"
#include "landmarks/FaceLandmarks.h"

namespace glamora {

// The longest side of the copy the detector scans.
constexpr int kDetectionSide = 640;

struct FaceSearch {
  enum class Outcome { Found, NoFace, Unavailable };
  Outcome Result = Outcome::NoFace;
  std::string Message;    // one line for the user when not Found
  FaceLandmarks Points{};  // when Found
  PixelRect Face;          // the detector's box around the face, in picture pixels
  int FacesSeen = 0;       // faces the detector found; the largest one is placed
};

// One face of a picture: the detector's box and the 68 points placed in it.
struct FoundFace {
  PixelRect Face;
  FaceLandmarks Points{};
};

// Every face of a picture, numbered left to right by the left side of its box.
struct FaceList {
  FaceSearch::Outcome Result = FaceSearch::Outcome::NoFace;
  std::string Message;  // one line for the user when not Found
  std::vector<FoundFace> Faces;  // when Found: at least one
};

// What a window asks to find a face: a finder's Find, or a stand-in.
using FindFaceFunction = std::function<FaceSearch(const Bitmap& picture)>;

class FaceModel;
struct GreyPicture;

class LandmarkFinder {
 public:
  // `modelFile` is the 68-point shape model.
  explicit LandmarkFinder(std::string modelFile = DefaultModelFile());
  // Waits for a load still running on its worker thread.
  ~LandmarkFinder();
  LandmarkFinder(const LandmarkFinder&) = delete;
  LandmarkFinder& operator=(const LandmarkFinder&) = delete;

  // True when this build has the face finder at all.
  static bool Built();
  static std::string DefaultModelFile();
  const std::string& ModelFile() const { return modelFile_; }

  // Starts the loading on a worker thread and returns at once; calls after
  // the first do nothing.
  void StartLoading();
  // Waits until the loading is over (starting it when nobody has). Empty
  // when the finder is ready, else the one-line reason it cannot place
  // landmarks (the detector still tells whether there is a face).
  std::string WaitUntilLoaded();
  // True once the loading has succeeded; never waits.
  bool Loaded() const;
  // True once the loading has begun, whether or not it is over.
  bool LoadStarted() const;

  // Finds the largest face and places its landmarks, waiting for the
  // loading first.
  FaceSearch Find(const Bitmap& picture);
  // Finds every face and places the landmarks of each, waiting for the
  // loading first.
  FaceList FindAll(const Bitmap& picture);

 private:
  // The detector's boxes in the pixels of the full picture.
  std::vector<PixelRect> DetectFaces(const GreyPicture& grey);

  std::string modelFile_;
  mutable std::mutex mutex_;
  std::shared_future<std::string> loading_;
  std::shared_ptr<FaceModel> model_;
};

}  // namespace glamora
