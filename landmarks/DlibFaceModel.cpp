// The face finder on dlib: its built-in frontal face detector (a HOG
// detector that needs no model file) and a 68-point shape predictor read
// from a file.
#include <dlib/image_processing.h>
#include <dlib/image_processing/frontal_face_detector.h>
#include <dlib/serialize.h>

#include <exception>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>

#include "landmarks/FaceModel.h"

namespace glamora {

// A grey picture seen through dlib's generic image interface, read-only.
struct GreyView {
  const GreyPicture* Picture;
};
inline long num_rows(const GreyView& v) { return v.Picture->Height; }
inline long num_columns(const GreyView& v) { return v.Picture->Width; }
inline const void* image_data(const GreyView& v) { return v.Picture->Pixels.data(); }
inline long width_step(const GreyView& v) { return v.Picture->Width; }

}  // namespace glamora

namespace dlib {
template <>
struct image_traits<glamora::GreyView> {
  using pixel_type = unsigned char;
};
}  // namespace dlib

namespace glamora {

struct FaceModel::Engine {
  std::mutex DetectorMutex;  // the detector keeps scratch state between calls
  std::optional<dlib::frontal_face_detector> Detector;
  dlib::shape_predictor Shapes;
};

FaceModel::FaceModel() : engine_(std::make_unique<Engine>()) {}
FaceModel::~FaceModel() = default;

bool FaceModel::Built() { return true; }
std::string FaceModel::MissingReason() { return {}; }

namespace {

std::string ReadShapes(const std::string& file, dlib::shape_predictor& shapes) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    return "The face landmark model " + file + " is missing (install libdlib-data)";
  }
  try {
    dlib::deserialize(file) >> shapes;
  } catch (const std::exception&) {
    shapes = dlib::shape_predictor();
    return "The face landmark model " + file + " cannot be read";
  }
  if (shapes.num_parts() != kLandmarkCount) {
    const unsigned long parts = shapes.num_parts();
    shapes = dlib::shape_predictor();
    return "The face landmark model " + file + " places " + std::to_string(parts) + " points, not " +
           std::to_string(kLandmarkCount);
  }
  return {};
}

}  // namespace

std::string FaceModel::Load(const std::string& shapeModelFile) {
  // The built-in detector unpacks itself from data compiled into the library.
  auto detector = std::async(std::launch::async, [] { return dlib::get_frontal_face_detector(); });
  std::string error = ReadShapes(shapeModelFile, engine_->Shapes);
  engine_->Detector = detector.get();
  return error;
}

std::vector<PixelRect> FaceModel::Detect(const GreyPicture& picture) {
  if (picture.Empty() || !engine_->Detector) return {};
  std::lock_guard lock(engine_->DetectorMutex);
  std::vector<PixelRect> faces;
  for (const dlib::rectangle& r : (*engine_->Detector)(GreyView{&picture})) {
    faces.push_back(PixelRect::FromEdges(int(r.left()), int(r.top()), int(r.right()), int(r.bottom())));
  }
  return faces;
}

FaceLandmarks FaceModel::Place(const GreyPicture& picture, const PixelRect& face) const {
  const dlib::rectangle box(face.Left, face.Top, face.Right(), face.Bottom());
  const dlib::full_object_detection shape = engine_->Shapes(GreyView{&picture}, box);
  FaceLandmarks points{};
  for (int i = 0; i < kLandmarkCount; ++i) {
    const dlib::point& p = shape.part(unsigned(i));
    points[size_t(i)] = {double(p.x()), double(p.y())};
  }
  return points;
}

}  // namespace glamora
