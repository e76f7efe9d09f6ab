// The thumbnail grid: its layout, the loading of the cells on screen, the
// selection, and painting.
#include "imaging/ImgThumbView.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

#include "codecs/Jpeg.h"
#include "imaging/QtBitmap.h"
#include "imaging/core/ReplacePicture.h"
#include "imaging/core/Rounding.h"
#include "imaging/core/Stream.h"

namespace glamora {

namespace {

// Enough of a JPEG file to reach its frame header in all but files with
// unusually large metadata; those are simply decoded at full size.
constexpr size_t kHeaderPrefix = 64 * 1024;

// How long one run of the loader may decode before it lets the event loop
// (input, painting) have its turn: a fraction of a frame.
constexpr qint64 kLoadSliceMs = 8;

// The rectangle from (left, top) to (right, bottom), right and bottom excluded.
QRect EdgeRect(int left, int top, int right, int bottom) { return {left, top, right - left, bottom - top}; }

std::optional<ThumbMove> NavigationMove(int key) {
  switch (key) {
    case Qt::Key_PageUp: return ThumbMove::PageUp;
    case Qt::Key_PageDown: return ThumbMove::PageDown;
    case Qt::Key_End: return ThumbMove::Last;
    case Qt::Key_Home: return ThumbMove::First;
    case Qt::Key_Left: return ThumbMove::Previous;
    case Qt::Key_Up: return ThumbMove::Up;
    case Qt::Key_Right: return ThumbMove::Next;
    case Qt::Key_Down: return ThumbMove::Down;
    default: return std::nullopt;
  }
}

// A colour `percent` of the way from `from` to `to`.
QColor Blend(TColor from, TColor to, int percent) {
  const TColor a = ResolveColor(from), b = ResolveColor(to);
  auto mix = [percent](int x, int y) { return x + (y - x) * percent / 100; };
  return QColor(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

// The frame header of a JPEG file, read from the start of the file only
// into `prefix` (kHeaderPrefix bytes).
bool ReadJpegFileHeader(const std::string& name, uint8_t* prefix, codec::JpegHeader& header) {
  try {
    FileStream file(name, FileStream::Mode::Read);
    const size_t read = file.Read(prefix, kHeaderPrefix);
    return codec::ReadJpegHeader(codec::Bytes(prefix, read), header) == PictureStatus::Ok;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

JpegScale ScaleOfDenominator(int denominator) {
  switch (denominator) {
    case 2: return JpegScale::Half;
    case 4: return JpegScale::Quarter;
    case 8: return JpegScale::Eighth;
    default: return JpegScale::Full;
  }
}

QSize ThumbFitSize(int pictureWidth, int pictureHeight, int cellWidth, int areaHeight) {
  if (pictureWidth <= 0 || pictureHeight <= 0) return {};
  const double s = std::min(double(areaHeight) / pictureHeight, double(cellWidth) / pictureWidth);
  const int64_t w = TruncGuarded(pictureWidth * s);
  const int64_t h = TruncGuarded(pictureHeight * s);
  if (w <= 0 || h <= 0) return {};
  return {int(w), int(h)};
}

int ThumbJpegDenominator(int pictureWidth, int pictureHeight, QSize fit) {
  if (fit.isEmpty()) return 1;
  for (int k : {8, 4, 2}) {
    if (codec::JpegScaledSide(pictureWidth, k) >= fit.width() &&
        codec::JpegScaledSide(pictureHeight, k) >= fit.height()) {
      return k;
    }
  }
  return 1;
}

bool HalvePicture(const Bitmap& in, Bitmap& out) {
  if (in.Width() < 2 || in.Height() < 2) return false;
  Bitmap converted;
  const Bitmap* source = &in;
  if (in.Format() != PixelFormat::Bits24) {
    converted.Assign(in);
    converted.ConvertTo24();
    source = &converted;
  }
  Bitmap half;
  if (!half.Reset(in.Width() / 2, in.Height() / 2, PixelFormat::Bits24)) return false;
  const int bytes = half.Width() * 3;
  for (int y = 0; y < half.Height(); ++y) {
    const uint8_t* upper = source->Row(2 * y);
    const uint8_t* lower = source->Row(2 * y + 1);
    uint8_t* o = half.Row(y);
    for (int i = 0; i < bytes; i += 3) {
      const int j = 2 * i;  // the first of the two source pixels
      for (int c = 0; c < 3; ++c) {
        o[i + c] = uint8_t((upper[j + c] + upper[j + 3 + c] + lower[j + c] + lower[j + 3 + c] + 2) / 4);
      }
    }
  }
  out = std::move(half);
  return true;
}

// ---------------------------------------------------------------- creation

TImgThumbView::TImgThumbView(QWidget* parent) : TImgViewBase(parent) {
  setFocusPolicy(Qt::StrongFocus);
  loadTimer_.setSingleShot(true);
  loadTimer_.setInterval(0);
  connect(&loadTimer_, &QTimer::timeout, this, [this] { LoadStep(); });
  playTimer_.setSingleShot(true);
  connect(&playTimer_, &QTimer::timeout, this, [this] { NextFrame(); });
  io_.OnProgress = [this](int per) {
    if (OnIOProgress) OnIOProgress(this, per);
  };
  resize(180, 90);
  Update();
}

TImgThumbView::~TImgThumbView() {
  NotifyDestroyed();
  destroying_ = true;
  loadTimer_.stop();
  playTimer_.stop();
  Deselect();
  items_.clear();
}

// ---------------------------------------------------------------- items

int TImgThumbView::AppendImage() {
  const int index = ImageCount();
  InsertImage(index);
  return index;
}

void TImgThumbView::InsertImage(int index) {
  if (index < 0) return;
  index = std::min(index, ImageCount());
  // Items after the insertion point move one place on, the selection with them.
  if (selected_ >= index) ++selected_;
  ThumbnailItem item;
  item.Background = Background();
  items_.insert(items_.begin() + index, std::move(item));
  SelectInternal(index);
  CallBitmapChangeList();
  Update();
}

void TImgThumbView::SetImageFileName(int index, const std::string& name) {
  if (!ValidIndex(index)) return;
  ThumbnailItem& item = items_[size_t(index)];
  item.FileName = name;
  if (item.State == ThumbState::Failed) item.State = ThumbState::Waiting;
  ScheduleLoading();
}

std::string TImgThumbView::GetImageFileName(int index) const {
  return ValidIndex(index) ? items_[size_t(index)].FileName : std::string();
}

void TImgThumbView::DeleteImage(int index) {
  if (!ValidIndex(index)) return;
  const int a = selected_;
  const bool wasLast = index == ImageCount() - 1;
  Deselect();
  FreePicture(items_[size_t(index)]);
  items_.erase(items_.begin() + index);
  int next = a;
  if (index == a && wasLast) {
    next = ImageCount() - 1;
  } else if (index < a) {
    next = a - 1;
  }
  if (next >= 0) SelectInternal(next);
  CallBitmapChangeList();
  Update();
}

void TImgThumbView::DeleteAllImages() {
  Deselect();
  Update();
  // Deleting item 0 until none are left, without a selection to carry along.
  for (ThumbnailItem& item : items_) FreePicture(item);
  items_.clear();
  CallBitmapChangeList();
  Update();
}

void TImgThumbView::SetImage(int index, const glamora::Bitmap& picture) {
  if (!ValidIndex(index)) return;
  glamora::Bitmap copy;
  copy.Assign(picture);
  const QSize size(picture.Width(), picture.Height());
  StorePicture(index, std::move(copy), size);
  Update();
}

// ------------------------------------------------------------------ frames

void TImgThumbView::SetImageDelay(int index, int delayMs) {
  if (ValidIndex(index)) items_[size_t(index)].DelayMs = delayMs;
}

int TImgThumbView::ImageDelay(int index) const { return ValidIndex(index) ? items_[size_t(index)].DelayMs : 0; }

void TImgThumbView::Play() {
  if (Playing() || ImageCount() == 0) return;
  if (!ValidIndex(selected_)) SelectInternal(0);
  modeBeforePlay_ = displayMode_;
  SetDisplayMode(mdSingle);
  playTimer_.start(std::max(ImageDelay(selected_), kMinFrameDelay));
}

void TImgThumbView::Stop() {
  if (!Playing()) return;
  playTimer_.stop();
  SetDisplayMode(modeBeforePlay_);
}

void TImgThumbView::NextFrame() {
  if (ImageCount() == 0) {
    SetDisplayMode(modeBeforePlay_);
    return;
  }
  SelectInternal((selected_ + 1) % ImageCount());
  Update();
  playTimer_.start(std::max(ImageDelay(selected_), kMinFrameDelay));
}

// ---------------------------------------------------------------- selection

void TImgThumbView::SetSelectedImage(int index) {
  if (Playing()) return;
  SelectInternal(index);
  if (OnImageSelect) OnImageSelect(this, selected_);
  Update();
}

void TImgThumbView::SelectInternal(int index) {
  if (!ValidIndex(index)) return;
  if (selected_ >= 0) ReleaseImage(selected_);
  selected_ = index;
  LockImage(index);
}

void TImgThumbView::Deselect() {
  if (selected_ >= 0) ReleaseImage(selected_);
  selected_ = -1;
}

glamora::Bitmap* TImgThumbView::Bitmap() {
  if (!ValidIndex(selected_)) return nullptr;
  return items_[size_t(selected_)].Expanded.get();
}

glamora::Bitmap* TImgThumbView::LockImage(int index) {
  if (!ValidIndex(index)) return nullptr;
  if (items_[size_t(index)].LockCount++ > 0) return items_[size_t(index)].Expanded.get();
  // A remembered failure is not read again.
  if (items_[size_t(index)].Packed.Empty() && items_[size_t(index)].State != ThumbState::Failed) LoadPicture(index);
  ThumbnailItem& item = items_[size_t(index)];
  if (item.Packed.Empty()) {
    item.LockCount = 0;
    return nullptr;
  }
  item.Expanded = std::make_unique<glamora::Bitmap>(std::move(item.Packed));
  item.Packed = glamora::Bitmap();
  return item.Expanded.get();
}

void TImgThumbView::ReleaseImage(int index) {
  if (!ValidIndex(index)) return;
  ThumbnailItem& item = items_[size_t(index)];
  if (item.LockCount > 0) --item.LockCount;
  if (item.LockCount == 0 && item.Expanded) {
    item.Packed = std::move(*item.Expanded);
    item.Packed.OnChange = nullptr;
    item.Expanded.reset();
  }
}

void TImgThumbView::MoveSelection(int code) {
  if (code >= int(ThumbMove::Previous) && code <= int(ThumbMove::PageUp)) MoveSelection(ThumbMove(code));
}

void TImgThumbView::MoveSelection(ThumbMove move) {
  const int count = ImageCount();
  if (count == 0) return;
  const int g = Columns();
  const int page = vertBorder_ + thumbHeight_ != 0
                       ? g * ((ClientHeight() - vertBorder_) / (vertBorder_ + thumbHeight_))
                       : 0;
  const int a = selected_;
  const bool selection = a >= 0;

  // Scrolling that brings the selected item's row, then its column, into view.
  auto scrollUp = [this] {
    SetViewY(ImageY(selected_) - vertBorder_);
    if (!FullyVisible(selected_)) SetViewX(ImageX(selected_) - horizBorder_);
  };
  auto scrollDown = [this] {
    SetViewY(ImageY(selected_) + thumbHeight_ + vertBorder_ - ClientHeight());
    if (!FullyVisible(selected_)) SetViewX(ImageX(selected_) + thumbWidth_ + horizBorder_ - ClientWidth());
  };
  auto whenHidden = [this](auto scroll) {
    if (ValidIndex(selected_) && !FullyVisible(selected_)) scroll();
  };

  switch (move) {
    case ThumbMove::Previous:
      if (!selection) return;
      SetSelectedImage(a - 1);
      whenHidden([this] { SetViewXY(ImageX(selected_) - horizBorder_, ImageY(selected_) - vertBorder_); });
      break;
    case ThumbMove::Next:
      if (!selection) return;
      SetSelectedImage(a + 1);
      whenHidden([this] {
        SetViewXY(ImageX(selected_) + thumbWidth_ + horizBorder_ - ClientWidth(),
                  ImageY(selected_) + thumbHeight_ + vertBorder_ - ClientHeight());
      });
      break;
    case ThumbMove::Up:
      if (!selection) return;
      SetSelectedImage(gridWidth_ != 0 ? std::max(a - g, 0) : a - 1);
      whenHidden(scrollUp);
      break;
    case ThumbMove::Down:
      if (!selection) return;
      SetSelectedImage(gridWidth_ != 0 ? std::min(a + g, count - 1) : a + 1);
      whenHidden(scrollDown);
      break;
    case ThumbMove::First:
      SetSelectedImage(0);
      whenHidden([this] { SetViewXY(0, 0); });
      break;
    case ThumbMove::Last:
      SetSelectedImage(count - 1);
      whenHidden(scrollDown);
      break;
    case ThumbMove::PageDown:
      if (!selection) return;
      SetSelectedImage(a + page);
      whenHidden(scrollDown);
      break;
    case ThumbMove::PageUp:
      if (!selection) return;
      SetSelectedImage(a - page);
      whenHidden(scrollUp);
      break;
  }
}

// ---------------------------------------------------------------- pictures

const glamora::Bitmap* TImgThumbView::HeldPicture(const ThumbnailItem& item) {
  if (item.Expanded) return item.Expanded.get();
  return item.Packed.Empty() ? nullptr : &item.Packed;
}

void TImgThumbView::FreePicture(ThumbnailItem& item) {
  item.Packed = glamora::Bitmap();
  item.Expanded.reset();
  if (item.State == ThumbState::Loaded) item.State = ThumbState::Waiting;
}

bool TImgThumbView::LoadPicture(int index) {
  ThumbnailItem& item = items_[size_t(index)];
  if (item.FileName.empty()) return false;
  glamora::Bitmap picture;
  QSize original;
  if (!ReadPicture(item, picture, original)) {
    item.State = ThumbState::Failed;
    return false;
  }
  item.Background = io_.Background();
  StorePicture(index, std::move(picture), original);
  return true;
}

bool TImgThumbView::ReadPicture(const ThumbnailItem& item, glamora::Bitmap& picture, QSize& original) {
  const QSize area = AreaSize();
  codec::JpegHeader header;
  // Kept between reads and never cleared: only what a read fills is looked at.
  if (!headerPrefix_) headerPrefix_ = std::make_unique_for_overwrite<uint8_t[]>(kHeaderPrefix);
  const bool jpegHeader = ReadJpegFileHeader(item.FileName, headerPrefix_.get(), header);
  int denominator = 1;
  if (jpegHeader) {
    denominator = ThumbJpegDenominator(header.Width, header.Height,
                                       ThumbFitSize(header.Width, header.Height, area.width(), area.height()));
  }

  glamora::Bitmap loaded(1, 1);
  io_.SetBackground(item.Background);
  io_.SetBitmap(&loaded);
  io_.Params.JpegDecodeScale = ScaleOfDenominator(denominator);
  bool ok = false;
  try {
    ok = io_.LoadFromFile(item.FileName) && !io_.Aborting;
  } catch (const std::exception&) {
    ok = false;
  }
  const bool decodedAsJpeg = io_.Params.FileType == iftJpeg;
  io_.SetBitmap(nullptr);
  if (!ok || loaded.Empty()) return false;

  original = jpegHeader && decodedAsJpeg ? QSize(header.Width, header.Height) : QSize(loaded.Width(), loaded.Height());
  // Halve whatever is still twice the cell picture; bilevel pictures are
  // already compact and would only grow as 24-bit halves.
  const QSize fit = ThumbFitSize(original.width(), original.height(), area.width(), area.height());
  while (!fit.isEmpty() && loaded.Format() != PixelFormat::Bits1 && loaded.Width() / 2 >= fit.width() &&
         loaded.Height() / 2 >= fit.height()) {
    glamora::Bitmap half;
    if (!HalvePicture(loaded, half)) break;
    loaded = std::move(half);
  }
  picture = std::move(loaded);
  return true;
}

void TImgThumbView::StorePicture(int index, glamora::Bitmap&& picture, QSize original) {
  ThumbnailItem& item = items_[size_t(index)];
  item.OriginalWidth = original.width();
  item.OriginalHeight = original.height();
  item.LoadedWidth = picture.Width();
  item.LoadedHeight = picture.Height();
  if (item.Expanded) {
    // Clients attached to the view keep the address of a held bitmap.
    ReplacePicture(*item.Expanded, std::move(picture));
  } else {
    item.Packed = std::move(picture);
    item.Packed.OnChange = nullptr;
  }
  item.State = ThumbState::Loaded;
}

QSize TImgThumbView::FitOf(const ThumbnailItem& item) const {
  const glamora::Bitmap* picture = HeldPicture(item);
  if (!picture) return {};
  const QSize area = AreaSize();
  const bool asLoaded = picture->Width() == item.LoadedWidth && picture->Height() == item.LoadedHeight;
  if (asLoaded) return ThumbFitSize(item.OriginalWidth, item.OriginalHeight, area.width(), area.height());
  return ThumbFitSize(picture->Width(), picture->Height(), area.width(), area.height());
}

void TImgThumbView::RefreshUndersizedPictures() {
  for (int i = 0; i < ImageCount(); ++i) {
    ThumbnailItem& item = items_[size_t(i)];
    const glamora::Bitmap* picture = HeldPicture(item);
    if (!picture || item.FileName.empty()) continue;
    const bool asLoaded = picture->Width() == item.LoadedWidth && picture->Height() == item.LoadedHeight;
    const bool reduced = item.LoadedWidth != item.OriginalWidth || item.LoadedHeight != item.OriginalHeight;
    if (!asLoaded || !reduced) continue;
    const QSize fit = FitOf(item);
    const bool undersized = picture->Width() < fit.width() || picture->Height() < fit.height();
    const bool oversized =
        !fit.isEmpty() && picture->Width() / 2 >= fit.width() && picture->Height() / 2 >= fit.height();
    if (item.Expanded) {
      if (undersized) LoadPicture(i);
    } else if (undersized || oversized) {
      FreePicture(item);
    }
  }
}

ThumbState TImgThumbView::ImageState(int index) const {
  return ValidIndex(index) ? items_[size_t(index)].State : ThumbState::Waiting;
}

// ---------------------------------------------------------------- loader

QRect TImgThumbView::CellRect(const ThumbnailItem& item) const {
  return {item.X - ViewX(), item.Y - ViewY(), thumbWidth_, thumbHeight_};
}

bool TImgThumbView::IsShown(int index) const {
  if (!ValidIndex(index)) return false;
  if (displayMode_ == mdSingle && index != selected_) return false;
  return CellRect(items_[size_t(index)]).intersects(QRect(0, 0, ClientWidth(), ClientHeight()));
}

std::pair<int, int> TImgThumbView::ShownCandidates() const {
  if (displayMode_ == mdSingle) {
    if (!ValidIndex(selected_)) return {0, 0};
    return {selected_, selected_ + 1};
  }
  // The layout places items row by row, so their tops never decrease: the
  // rows meeting the client area form one run of items.
  const int top = ViewY(), bottom = ViewY() + ClientHeight();
  const auto first = std::partition_point(items_.begin(), items_.end(), [&](const ThumbnailItem& item) {
    return item.Y + thumbHeight_ <= top;
  });
  const auto end = std::partition_point(first, items_.end(), [&](const ThumbnailItem& item) {
    return item.Y < bottom;
  });
  return {int(first - items_.begin()), int(end - items_.begin())};
}

void TImgThumbView::ScheduleLoading() {
  if (!destroying_ && !loadTimer_.isActive()) loadTimer_.start();
}

void TImgThumbView::ViewMoved() {
  update();
  ScheduleLoading();
}

bool TImgThumbView::RemoveFailedItems() {
  bool removed = false;
  for (int i = ImageCount() - 1; i >= 0; --i) {
    if (i < ImageCount() && items_[size_t(i)].State == ThumbState::Failed && !items_[size_t(i)].FileName.empty()) {
      DeleteImage(i);
      removed = true;
    }
  }
  return removed;
}

void TImgThumbView::DropUnshownPictures() {
  const auto [first, end] = ShownCandidates();
  for (int i = 0; i < ImageCount(); ++i) {
    ThumbnailItem& item = items_[size_t(i)];
    if (item.Packed.Empty() || item.FileName.empty() || item.LockCount > 0 || i == selected_) continue;
    // Out of sight: give the memory back; it is read again when needed.
    if (i < first || i >= end || !IsShown(i)) FreePicture(item);
  }
}

void TImgThumbView::LoadStep() {
  if (destroying_) return;
  if (removeCorrupted_) RemoveFailedItems();
  DropUnshownPictures();

  QElapsedTimer clock;
  clock.start();
  QRegion loaded;
  const auto [first, end] = ShownCandidates();
  for (int i = first; i < end && i < ImageCount(); ++i) {
    const ThumbnailItem& item = items_[size_t(i)];
    if (item.State != ThumbState::Waiting || item.FileName.empty() || HeldPicture(item) || !IsShown(i)) continue;
    if (clock.elapsed() >= kLoadSliceMs) {
      ScheduleLoading();
      break;
    }
    if (!LoadPicture(i) && removeCorrupted_) ScheduleLoading();
    if (i >= ImageCount()) break;  // a progress handler changed the items
    // The frame of a selected cell lies outside it; the widest is repainted too.
    const int grow = i == selected_ ? std::max(selectionWidth_, 1) : 0;
    loaded += CellRect(items_[size_t(i)]).adjusted(-grow, -grow, grow, grow).translated(ClientOrigin());
  }
  if (!loaded.isEmpty()) update(loaded & ClientRect());
}

bool TImgThumbView::HoldsPicture(int index) const {
  return ValidIndex(index) && HeldPicture(items_[size_t(index)]) != nullptr;
}

int TImgThumbView::HeldPictureCount() const {
  return int(std::count_if(items_.begin(), items_.end(),
                           [](const ThumbnailItem& item) { return HeldPicture(item) != nullptr; }));
}

size_t TImgThumbView::HeldPictureBytes() const {
  size_t bytes = 0;
  for (const ThumbnailItem& item : items_) {
    if (const glamora::Bitmap* picture = HeldPicture(item)) bytes += picture->ByteSize();
  }
  return bytes;
}

QSize TImgThumbView::HeldPictureSize(int index) const {
  if (!ValidIndex(index)) return {};
  const glamora::Bitmap* picture = HeldPicture(items_[size_t(index)]);
  return picture ? QSize(picture->Width(), picture->Height()) : QSize();
}

// ---------------------------------------------------------------- geometry

int TImgThumbView::ImageX(int index) const { return ValidIndex(index) ? items_[size_t(index)].X : 0; }
int TImgThumbView::ImageY(int index) const { return ValidIndex(index) ? items_[size_t(index)].Y : 0; }
int TImgThumbView::ImageRow(int index) const { return ValidIndex(index) ? items_[size_t(index)].Row : 0; }
int TImgThumbView::ImageColumn(int index) const { return ValidIndex(index) ? items_[size_t(index)].Column : 0; }

TColor TImgThumbView::ImageBackground(int index) const {
  return ValidIndex(index) ? items_[size_t(index)].Background : Background();
}

int TImgThumbView::Columns() const {
  if (gridWidth_ != -1) return gridWidth_;
  // A view narrower than one cell fits no column and, like GridWidth 0,
  // keeps every item in the first row; so does a cell of no width.
  const int pitch = horizBorder_ + thumbWidth_;
  if (pitch <= 0) return 0;
  return (ClientWidth() - horizBorder_) / pitch;
}

void TImgThumbView::Layout() {
  const int g = Columns();
  int c = 0, r = 0;
  int largestX = -1, largestY = -1;
  for (ThumbnailItem& item : items_) {
    item.X = horizBorder_ + c * (thumbWidth_ + horizBorder_);
    item.Y = vertBorder_ + r * (thumbHeight_ + vertBorder_);
    item.Column = c;
    item.Row = r;
    largestX = std::max(largestX, item.X);
    largestY = std::max(largestY, item.Y);
    ++c;
    if (displayMode_ == mdSingle) {
      c = 0;
    } else if (c == g) {
      c = 0;
      ++r;
    }
  }
  if (items_.empty()) {
    virtualWidth_ = thumbWidth_ + horizBorder_;
    virtualHeight_ = thumbHeight_ + vertBorder_;
  } else {
    virtualWidth_ = largestX + thumbWidth_ + horizBorder_;
    virtualHeight_ = largestY + thumbHeight_ + vertBorder_;
  }
}

QPoint TImgThumbView::MaxViewXY() const {
  return {std::max(virtualWidth_ - ClientWidth(), 0), std::max(virtualHeight_ - ClientHeight(), 0)};
}

int TImgThumbView::ImageAtPos(int x, int y) const {
  for (int i = 0; i < ImageCount(); ++i) {
    const int left = items_[size_t(i)].X - ViewX();
    const int top = items_[size_t(i)].Y - ViewY();
    if (x >= left && x <= left + thumbWidth_ - 1 && y >= top && y <= top + thumbHeight_) return i;
  }
  return -1;
}

int TImgThumbView::ImageVisibility(int index) const {
  if (!ValidIndex(index)) return 0;
  const QRect cell(items_[size_t(index)].X - ViewX(), items_[size_t(index)].Y - ViewY(), thumbWidth_, thumbHeight_);
  const QRect client(0, 0, ClientWidth(), ClientHeight());
  if (client.contains(cell)) return 2;
  return client.intersects(cell) ? 1 : 0;
}

void TImgThumbView::Update() { UpdateGeometry(0); }

void TImgThumbView::UpdateGeometry(int depth) {
  if (destroying_) return;
  Layout();
  // A bar that appeared or vanished changed the client area, and with it
  // the columns and the limits; the depth bound guards against bars that
  // could never settle. A click on a bar's arrow moves by one cell.
  const QSize cellPitch(thumbWidth_ + horizBorder_, thumbHeight_ + vertBorder_);
  if (UpdateScrolling(MaxViewXY(), cellPitch) && depth < 4) {
    UpdateGeometry(depth + 1);
    return;
  }
  CallBitmapChangeList();
  update();
  ScheduleLoading();
}

// ---------------------------------------------------------------- properties

void TImgThumbView::SetThumbWidth(int value) {
  thumbWidth_ = value;
  RefreshUndersizedPictures();
  Update();
}

void TImgThumbView::SetThumbHeight(int value) {
  thumbHeight_ = value;
  RefreshUndersizedPictures();
  Update();
}

void TImgThumbView::SetHorizBorder(int value) {
  horizBorder_ = value;
  Update();
}

void TImgThumbView::SetVertBorder(int value) {
  vertBorder_ = value;
  Update();
}

void TImgThumbView::SetBottomGap(int value) {
  bottomGap_ = value;
  RefreshUndersizedPictures();
  Update();
}

void TImgThumbView::SetUpperGap(int value) {
  upperGap_ = value;
  RefreshUndersizedPictures();
  Update();
}

void TImgThumbView::SetGridWidth(int value) {
  gridWidth_ = value;
  Update();
}

void TImgThumbView::SetDisplayMode(TThumbDisplayMode mode) {
  displayMode_ = mode;
  Update();
}

void TImgThumbView::SetSelectionWidth(int value) {
  selectionWidth_ = value;
  Update();
}

void TImgThumbView::SetSelectionColor(TColor color) {
  selectionColor_ = color;
  Update();
}

void TImgThumbView::SetVisibleSelection(bool value) {
  visibleSelection_ = value;
  Update();
}

void TImgThumbView::SetRemoveCorrupted(bool value) {
  removeCorrupted_ = value;
  Update();
}

void TImgThumbView::SetDrawImageBackground(bool value) {
  drawImageBackground_ = value;
  Update();
}

void TImgThumbView::SetBackground(TColor color) {
  TImgViewBase::SetBackground(color);
  Update();
}

void TImgThumbView::SetCursor(TCursor id) {
  cursor_ = id;
  CursorTable::Instance().Apply(*this, id);
}

// ---------------------------------------------------------------- painting

void TImgThumbView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  PaintFrame(painter);
  const QRect client = ClientRect();
  if (client.isEmpty()) return;
  QRegion region = event->region() & client;
  region.translate(-client.topLeft());
  painter.translate(client.topLeft());
  PaintCells(painter, region);
}

void TImgThumbView::PaintCells(QPainter& painter, const QRegion& region) {
  const QRect client(0, 0, ClientWidth(), ClientHeight());
  QRegion open = region;
  bool waiting = false;
  // Window handlers called here may change the items: indices are checked
  // against the count afresh after each call.
  if (OnDrawProgress && ImageCount() > 1) {
    for (int i = 0; i < ImageCount(); ++i) {
      OnDrawProgress(this, int(int64_t(i) * 100 / ImageCount()), i);
      if (IsShown(i)) waiting |= PaintCell(painter, i, open);
    }
  } else {
    const auto [first, end] = ShownCandidates();
    for (int i = first; i < end && i < ImageCount(); ++i) {
      if (IsShown(i)) waiting |= PaintCell(painter, i, open);
    }
  }
  if (!open.isEmpty()) {
    painter.setClipRegion(open);
    painter.fillRect(client, ToQColor(Background()));
  }
  if (OnDrawProgress && ImageCount() > 1) OnDrawProgress(this, 100, 0);
  if (waiting) ScheduleLoading();
}

bool TImgThumbView::PaintCell(QPainter& painter, int index, QRegion& open) {
  const ThumbnailItem& item = items_[size_t(index)];
  const QRect cell = CellRect(item);
  const bool waiting = item.State == ThumbState::Waiting && !item.FileName.empty() && !HeldPicture(item);
  painter.setClipRegion(open);
  DrawCell(painter, item, cell);
  if (OnImageDraw) {
    painter.save();
    OnImageDraw(this, index, cell.left(), cell.top(), painter);
    painter.restore();
  }
  QRect excluded = cell;
  if (index == selected_ && visibleSelection_) {
    const int w = hasFocus() ? selectionWidth_ : 1;
    painter.setPen(QPen(ToQColor(selectionColor_), 1));
    painter.setBrush(Qt::NoBrush);
    for (int b = 1; b <= w; ++b) {
      // The outline of (left - b, top - b)-(right + b, bottom + b), right and bottom excluded.
      painter.drawRect(cell.left() - b, cell.top() - b, thumbWidth_ + 2 * b - 1, thumbHeight_ + 2 * b - 1);
    }
    excluded = cell.adjusted(-w, -w, w, w);
  }
  open -= excluded;
  return waiting;
}

void TImgThumbView::DrawCell(QPainter& painter, const ThumbnailItem& item, const QRect& cell) {
  const QColor background = ToQColor(drawImageBackground_ ? item.Background : Background());
  const glamora::Bitmap* picture = HeldPicture(item);
  const QSize fit = FitOf(item);
  if (!picture || fit.isEmpty()) {
    painter.fillRect(cell, background);
    if (!picture) DrawPictureMark(painter, item, cell);
    return;
  }
  const int left = cell.left(), top = cell.top();
  const int right = left + thumbWidth_, bottom = top + thumbHeight_;
  const int px = left + (thumbWidth_ - fit.width()) / 2;
  const int py = top + upperGap_ + (AreaSize().height() - fit.height()) / 2;
  dib_.Draw(painter, QRect(QPoint(px, py), fit), *picture, QRect(0, 0, picture->Width(), picture->Height()));
  for (const QRect& margin : {EdgeRect(left, top, px, bottom), EdgeRect(px + fit.width(), top, right, bottom),
                              EdgeRect(px, top, px + fit.width(), py),
                              EdgeRect(px, py + fit.height(), px + fit.width(), bottom)}) {
    if (margin.isValid()) painter.fillRect(margin, background);
  }
}

void TImgThumbView::DrawPictureMark(QPainter& painter, const ThumbnailItem& item, const QRect& cell) const {
  // An item without a file has nothing to wait for: its cell stays plain.
  if (item.FileName.empty()) return;
  const QRect area(cell.left(), cell.top() + upperGap_, thumbWidth_, AreaSize().height());
  if (area.width() < 4 || area.height() < 4) return;
  painter.save();
  painter.setBrush(Qt::NoBrush);
  if (item.State == ThumbState::Failed) {
    // A red cross on a square in the middle of the picture area.
    const int side = std::max(4, std::min(area.width(), area.height()) / 3);
    const QRect mark(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    painter.setPen(QPen(QColor(200, 30, 30), 2));
    painter.drawLine(mark.topLeft(), mark.bottomRight());
    painter.drawLine(mark.topRight(), mark.bottomLeft());
  } else {
    // A faint frame where the picture will come.
    painter.setPen(QPen(Blend(Background(), ResolveColor(Background()) ^ 0xFFFFFF, 20), 1));
    painter.drawRect(area.adjusted(2, 2, -3, -3));
  }
  painter.restore();
}

// ---------------------------------------------------------------- input

void TImgThumbView::resizeEvent(QResizeEvent*) { Update(); }

void TImgThumbView::focusInEvent(QFocusEvent* event) {
  TImgViewBase::focusInEvent(event);
  update();
}

void TImgThumbView::focusOutEvent(QFocusEvent* event) {
  TImgViewBase::focusOutEvent(event);
  update();
}

void TImgThumbView::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  MouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TImgThumbView::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click arrives here instead of as a press.
  mousePressEvent(event);
  if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}

void TImgThumbView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  MouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
}

void TImgThumbView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint() - ClientOrigin();
  MouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void TImgThumbView::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, modifiers, x, y);
  setFocus(Qt::MouseFocusReason);
  heldButtons_ |= button;
  pressPoint_ = {x, y};
  pressViewX_ = ViewX();
  pressViewY_ = ViewY();
}

void TImgThumbView::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, buttons, modifiers, x, y);
  if (heldButtons_ != Qt::NoButton && buttons != Qt::NoButton && mouseInteract_.testFlag(mmiScroll)) {
    SetViewXY(pressViewX_ + pressPoint_.x() - x, pressViewY_ + pressPoint_.y() - y);
  }
}

void TImgThumbView::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
  const bool pressed = heldButtons_.testFlag(button);
  heldButtons_ &= ~Qt::MouseButtons(button);
  if (OnMouseUp) OnMouseUp(this, button, modifiers, x, y);
  if (!pressed) return;
  // Only what is shown can be chosen: a release outside the client area
  // selects nothing even where a cell lies beyond its edge.
  const bool inside = x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight();
  const int hit = inside ? ImageAtPos(x, y) : -1;
  if (mouseInteract_.testFlag(mmiSelect) && hit >= 0 && !Playing()) {
    SelectInternal(hit);
    if (visibleSelection_) Update();
    if (OnImageSelect) OnImageSelect(this, selected_);
    CallBitmapChangeList();
  }
  if (mouseInteract_.testFlag(mmiScroll)) {
    SetViewXY(pressViewX_ + pressPoint_.x() - x, pressViewY_ + pressPoint_.y() - y);
  }
}

bool TImgThumbView::KeyDown(int key) {
  const std::optional<ThumbMove> move = NavigationMove(key);
  if (move) MoveSelection(*move);
  Update();
  return move.has_value();
}

bool TImgThumbView::event(QEvent* event) {
  // The navigation keys belong to the view while it has the focus, even
  // where a window binds them as shortcuts.
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (NavigationMove(key->key()) && modifiers == Qt::NoModifier) {
      event->accept();
      return true;
    }
  }
  return TImgViewBase::event(event);
}

void TImgThumbView::keyPressEvent(QKeyEvent* event) {
  if (KeyDown(event->key())) {
    event->accept();
  } else {
    // Left for the parent widgets: the window's own keys (Delete) reach it.
    event->ignore();
  }
}

void TImgThumbView::wheelEvent(QWheelEvent* event) {
  // One row (or column) per notch of the wheel.
  const QPoint delta = event->angleDelta();
  const QPoint maximum = MaxViewXY();
  if (maximum.y() > 0 && delta.y() != 0) {
    SetViewY(ViewY() - delta.y() * (thumbHeight_ + vertBorder_) / 120);
  } else if (maximum.x() > 0) {
    const int d = delta.x() != 0 ? delta.x() : delta.y();
    SetViewX(ViewX() - d * (thumbWidth_ + horizBorder_) / 120);
  }
  event->accept();
}

}  // namespace glamora
