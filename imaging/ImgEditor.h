#pragma once
// TImgEditor: an image view that owns one processing component and one
// input/output component, both attached to itself, and forwards a handful of
// their operations. The components are freed before the view.
#include <memory>
#include <string>

#include "imaging/components/ImgIO.h"
#include "imaging/components/ImgProc.h"
#include "imaging/ImgView.h"

namespace glamora {

class TImgEditor : public TImgView {
  Q_OBJECT

 public:
  explicit TImgEditor(QWidget* parent = nullptr);
  ~TImgEditor() override;

  TImgProc& Proc() { return *proc_; }
  TImgIO& IO() { return *io_; }

  void SaveUndo() { proc_->SaveUndo(); }
  void Undo() { proc_->Undo(); }
  void HSLVar(int hue, int sat, int lum) { proc_->HSLVar(hue, sat, lum); }
  void Contrast(int amount) { proc_->Contrast(amount); }
  void Resample(int width, int height, TResampleFilter filter) { proc_->Resample(width, height, filter); }
  void Clear() { proc_->Clear(); }

  bool LoadFromFile(const std::string& name) { return io_->LoadFromFile(name); }
  bool SaveToFile(const std::string& name) { return io_->SaveToFile(name); }
  bool LoadFromFileJpeg(const std::string& name) { return io_->LoadFromFileJpeg(name); }
  bool LoadFromStream(Stream& stream) { return io_->LoadFromStream(stream); }
  bool SaveToStreamJpeg(Stream& stream) { return io_->SaveToStreamJpeg(stream); }

  bool AutoUndo() const { return proc_->AutoUndo; }
  void SetAutoUndo(bool value) { proc_->AutoUndo = value; }
  bool StreamHeaders() const { return io_->StreamHeaders; }
  void SetStreamHeaders(bool value) { io_->StreamHeaders = value; }
  // Progress of both components' long operations.
  void SetOnProgress(const ProgressHandler& handler);

 private:
  std::unique_ptr<TImgProc> proc_;
  std::unique_ptr<TImgIO> io_;
};

}  // namespace glamora
