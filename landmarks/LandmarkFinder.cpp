#include "landmarks/LandmarkFinder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "landmarks/FaceModel.h"
#include "landmarks/GreyPicture.h"

#ifndef GLAMORA_LANDMARK_MODEL
#define GLAMORA_LANDMARK_MODEL "/usr/share/dlib/shape_predictor_68_face_landmarks.dat"
#endif

namespace glamora {

namespace {

// The box of the detection copy in the pixels of the full picture: copy
// pixel x covers [x, x + 1) there, which is [x / scale, (x + 1) / scale).
PixelRect InFullPicture(const PixelRect& box, double scale, int width, int height) {
  const int left = std::clamp(int(std::floor(box.Left / scale)), 0, width - 1);
  const int top = std::clamp(int(std::floor(box.Top / scale)), 0, height - 1);
  const int right = std::clamp(int(std::ceil((box.Right() + 1) / scale)) - 1, left, width - 1);
  const int bottom = std::clamp(int(std::ceil((box.Bottom() + 1) / scale)) - 1, top, height - 1);
  return PixelRect::FromEdges(left, top, right, bottom);
}

constexpr const char* kNoFaceMessage = "No face was found in the picture";

}  // namespace

LandmarkFinder::LandmarkFinder(std::string modelFile)
    : modelFile_(std::move(modelFile)), model_(std::make_shared<FaceModel>()) {}

LandmarkFinder::~LandmarkFinder() {
  std::shared_future<std::string> loading;
  {
    std::lock_guard lock(mutex_);
    loading = loading_;
  }
  if (loading.valid()) loading.wait();
}

bool LandmarkFinder::Built() { return FaceModel::Built(); }

std::string LandmarkFinder::DefaultModelFile() { return GLAMORA_LANDMARK_MODEL; }

void LandmarkFinder::StartLoading() {
  std::lock_guard lock(mutex_);
  if (loading_.valid()) return;
  if (!FaceModel::Built()) {
    std::promise<std::string> missing;
    missing.set_value(FaceModel::MissingReason());
    loading_ = missing.get_future().share();
    return;
  }
  loading_ = std::async(std::launch::async, [model = model_, file = modelFile_] { return model->Load(file); })
                 .share();
}

std::string LandmarkFinder::WaitUntilLoaded() {
  StartLoading();
  std::shared_future<std::string> loading;
  {
    std::lock_guard lock(mutex_);
    loading = loading_;
  }
  return loading.get();
}

bool LandmarkFinder::Loaded() const {
  std::lock_guard lock(mutex_);
  return loading_.valid() && loading_.wait_for(std::chrono::seconds(0)) == std::future_status::ready &&
         loading_.get().empty();
}

bool LandmarkFinder::LoadStarted() const {
  std::lock_guard lock(mutex_);
  return loading_.valid();
}

FaceSearch LandmarkFinder::Find(const Bitmap& picture) {
  FaceSearch search;
  if (!FaceModel::Built()) {
    search.Result = FaceSearch::Outcome::Unavailable;
    search.Message = FaceModel::MissingReason();
    return search;
  }
  const std::string modelError = WaitUntilLoaded();
  const GreyPicture grey = GreyOf(picture);
  const std::vector<PixelRect> faces = DetectFaces(grey);
  search.FacesSeen = int(faces.size());
  if (faces.empty()) {
    search.Result = FaceSearch::Outcome::NoFace;
    search.Message = kNoFaceMessage;
    return search;
  }
  const auto area = [](const PixelRect& r) { return int64_t(r.Width) * r.Height; };
  search.Face = *std::max_element(faces.begin(), faces.end(),
                                  [&](const PixelRect& a, const PixelRect& b) { return area(a) < area(b); });
  if (!modelError.empty()) {
    search.Result = FaceSearch::Outcome::Unavailable;
    search.Message = modelError;
    return search;
  }
  search.Points = model_->Place(grey, search.Face);
  search.Result = FaceSearch::Outcome::Found;
  return search;
}

FaceList LandmarkFinder::FindAll(const Bitmap& picture) {
  FaceList list;
  if (!FaceModel::Built()) {
    list.Result = FaceSearch::Outcome::Unavailable;
    list.Message = FaceModel::MissingReason();
    return list;
  }
  const std::string modelError = WaitUntilLoaded();
  const GreyPicture grey = GreyOf(picture);
  std::vector<PixelRect> faces = DetectFaces(grey);
  if (faces.empty()) {
    list.Message = kNoFaceMessage;
    return list;
  }
  if (!modelError.empty()) {
    list.Result = FaceSearch::Outcome::Unavailable;
    list.Message = modelError;
    return list;
  }
  std::stable_sort(faces.begin(), faces.end(), [](const PixelRect& a, const PixelRect& b) { return a.Left < b.Left; });
  for (const PixelRect& face : faces) list.Faces.push_back({face, model_->Place(grey, face)});
  list.Result = FaceSearch::Outcome::Found;
  return list;
}

std::vector<PixelRect> LandmarkFinder::DetectFaces(const GreyPicture& grey) {
  const DetectionCopy copy = MakeDetectionCopy(grey, kDetectionSide);
  std::vector<PixelRect> faces = model_->Detect(copy.Picture);
  for (PixelRect& face : faces) face = InFullPicture(face, copy.Scale, grey.Width, grey.Height);
  return faces;
}

}  // namespace glamora
