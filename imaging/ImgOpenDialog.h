#pragma once
// TImgOpenDialog: the file dialog through which windows choose a picture,
// with a preview pane beside the file list. As the user moves through the
// files the pane shows the selected picture with five lines about it (size
// and frames, colours, resolution, format, file and memory size); the
// picture can be zoomed, enlarged in a window of its own, and a GIF of
// several frames or a TIFF of several pages is shown frame by frame and can
// be played. A file that cannot be read leaves the pane empty; the dialog
// never reports an error.
//
// The pane (TImgPreviewPane) works on its own too, so it is tested and
// measured without a file dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <string>

#include "imaging/ImgThumbView.h"
#include "imaging/ImgView.h"
#include "imaging/components/ImgIO.h"
#include "imaging/components/MsgTable.h"

namespace glamora {

// The filter the windows that open photographs give the dialog: all the
// picture files first, then one entry per format, description and pattern
// fields separated by "|".
extern const char* const kPictureOpenFilter;

// A folder as the dialog starts in it: a trailing separator is dropped
// unless it closes a root ("/", "c:\", "c:/").
QString TrimInitialDir(const QString& folder);

// File dialog name filters from "Description|*.a;*.b|Description|*.c": one
// "Description (*.[aA] *.[bB])" per pair, each pattern matching its
// extension in either letter case; empty patterns are left out and a pair
// without any pattern matches every file.
QStringList QtNameFilters(const QString& filter);

// The client size of the enlarged preview of a picture: 100 on a side where
// the picture is at most 100, the picture's side where it is smaller than
// the screen's, else the screen's.
QSize EnlargedPreviewClientSize(QSize picture, QSize screen);

// The preview pane of the picture open dialog: the picture panel (zoom list,
// enlarge and play buttons, the preview view or, for a file of several
// frames, the frame strip, three lines of information, the preview check
// box and the progress bar shown while loading) and the information panel
// with the format and size lines, which the dialog puts below its file list.
class TImgPreviewPane : public QWidget {
  Q_OBJECT

 public:
  explicit TImgPreviewPane(QWidget* parent = nullptr);
  ~TImgPreviewPane() override;

  // The selection moved to `path`: shows the picture and its information,
  // or empties the pane when it names no readable picture. A call made while
  // the previous one is still being handled is ignored.
  void SelectionChange(const QString& path);
  QString CurrentPath() const { return path_; }
  // Stops any playing and empties both views, as the dialog does when it closes.
  void Close();

  // Opens the enlarged preview of the picture or selected frame, decoded at
  // full size, as a modal window; nothing when no picture is shown.
  void ShowEnlargedPreview();

  TMsgLanguage MsgLanguage() const { return language_; }
  void SetMsgLanguage(TMsgLanguage language);
  // Animated GIFs start playing as soon as they are shown.
  bool AlwaysAnimate = false;
  // Fired when a selection change has been handled.
  std::function<void()> OnSelectionHandled;

  // The JPEG scale denominator the shown picture was decoded at (1, 2, 4 or 8).
  int DecodedDenominator() const { return denominator_; }

  QWidget* PicturePanel() const { return picturePanel_; }
  QWidget* InfoPanel() const { return infoPanel_; }
  QComboBox* ZoomCombo() const { return zoomCombo_; }
  QToolButton* PreviewButton() const { return previewButton_; }
  QToolButton* PlayButton() const { return playButton_; }
  TImgView* ImgView() const { return imgView_; }
  TImgThumbView* ImgThumbView() const { return thumbView_; }
  // 1 size, 2 colours, 3 resolution.
  QLabel* PicLabel(int n) const { return picLabels_[n - 1]; }
  // 1 format, 2 file and memory.
  QLabel* InfoLabel(int n) const { return infoLabels_[n - 1]; }
  QCheckBox* PreviewCheck() const { return previewCheck_; }
  QProgressBar* ProgressBar() const { return progressBar_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowNothing();
  void ClearInformation();
  void ShowInformation(const TImgIOParams& params);
  void EmptyViews();
  bool LoadPicture(int denominator);
  bool LoadFrames();
  void FrameSelected(int index);
  void ZoomChanged();
  void PreviewToggled(bool checked);
  void PlayToggled(bool checked);
  void StopPlaying();
  // The denominator at which a JPEG still fills the preview when fitted.
  int FitDenominator() const;
  void Progress(int percent);

  QWidget* picturePanel_;
  QWidget* infoPanel_;
  QComboBox* zoomCombo_;
  QToolButton* previewButton_;
  QToolButton* playButton_;
  TImgView* imgView_;
  TImgThumbView* thumbView_;
  QLabel* picLabels_[3];
  QLabel* infoLabels_[2];
  QCheckBox* previewCheck_;
  QProgressBar* progressBar_;
  QPushButton* advancedButton_;

  TImgIO io_;
  TMsgLanguage language_ = msSystem;
  QString path_;
  std::string name_;  // path_ as the picture front takes it
  int64_t fileSize_ = 0;
  TImgIOParams fileParams_;  // what the file declares
  bool shown_ = false;       // a picture or its frames are shown
  bool handling_ = false;
  int denominator_ = 1;
  int screenDpiX_ = 96, screenDpiY_ = 96;
};

class TImgOpenDialog : public QObject {
  Q_OBJECT

 public:
  explicit TImgOpenDialog(QObject* owner = nullptr);
  ~TImgOpenDialog() override;

  // Shows the dialog modally; true when the user chose a file, which
  // FileName then gives with FilterIndex the filter in force. Cancel leaves
  // both as they were.
  bool Execute(QWidget* parent = nullptr);

  // The one call the windows make: the picture file the user chooses with
  // `filter` ("Description|patterns|..."), starting in `initialDir`; empty
  // when the user cancels.
  static QString Choose(QWidget* parent, const QString& filter, const QString& initialDir = QString(),
                        const QString& title = QString());

  // While the dialog is open, the path currently selected in it.
  QString FileName() const;
  void SetFileName(const QString& name) { fileName_ = name; }
  QString Filter() const { return filter_; }
  void SetFilter(const QString& filter) { filter_ = filter; }
  // 1-based.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  QString InitialDir() const { return initialDir_; }
  void SetInitialDir(const QString& folder) { initialDir_ = TrimInitialDir(folder); }
  QString DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const QString& ext) { defaultExt_ = ext; }
  QString Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }
  // Builds the filter from the picture format table when Execute runs.
  bool AutoSetFilter = true;
  bool AlwaysAnimate = false;
  TMsgLanguage MsgLanguage = msSystem;

  // Asked when the user confirms a file; clearing canClose keeps the dialog open.
  std::function<void(QObject* sender, bool& canClose)> OnCanClose;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnTypeChange;
  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

  // While the dialog is open (nullptr otherwise).
  QFileDialog* Dialog() const { return dialog_; }
  TImgPreviewPane* Pane() const { return pane_; }

 private:
  QString fileName_;
  QString filter_;
  int filterIndex_ = 1;
  QString initialDir_;
  QString defaultExt_;
  QString title_;
  QPointer<QFileDialog> dialog_;
  QPointer<TImgPreviewPane> pane_;
};

}  // namespace glamora
