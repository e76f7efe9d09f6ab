#pragma once
// TGalleryPanel: the gallery panel at the right edge of the main window. It
// owns the panel's tool bar and the gallery thumbnails, and the gallery's
// state for the run: the last number handed out, whether numbers are shown,
// and the export's proposed name and folder. Add composes the make-over
// model's face and hair wherever the canvas is zoomed or scrolled.
#include <QObject>
#include <QRect>
#include <cstdint>
#include <memory>
#include <string>

#include "gallery/GalleryExport.h"
#include "gallery/GalleryPrint.h"

class QPainter;
class QPrinter;
class QToolButton;
class QWidget;

namespace glamora {

class Makeover;
class TFormPreview;
class TImgThumbView;
class TMainWindowHost;
class TPanel;
class TToolBar;

class TGalleryPanel : public QObject {
  Q_OBJECT

 public:
  // Builds the panel "PanelPreview" on `parent` at the given place.
  TGalleryPanel(TMainWindowHost& window, const Makeover& model, QWidget& parent, const QRect& place);
  ~TGalleryPanel() override;

  // The preview dialog, created after the main window.
  void SetPreview(TFormPreview* preview) { preview_ = preview; }
  // Replace the export's save dialog and the print dialog (tests answer them).
  void SetExportDialog(AskExportFileName dialog) { exportDialog_ = std::move(dialog); }
  void SetPrintDialog(ChoosePrinter dialog) { printDialog_ = std::move(dialog); }
  // The largest gallery pictures the thumbnails and the print open.
  void SetPictureLimits(const DecodeLimits& limits);

  // ---- what the window asks of the panel
  // Creating the window: the counter from the pictures in the folder.
  void FormCreate();
  // Showing it: the thumbnails sized and filled, the first one selected.
  void FormShow();
  // The Delete key: with the gallery focused, deletes the selected picture
  // and its file without a question; the counter stays, so the number is
  // not handed out again in this run.
  void DeleteKey();
  TImgThumbView& Thumbnails() const { return *thumbnails_; }

  // ---- the panel's commands
  // Adds the face with its make-up and the hair as the next gallery picture,
  // and selects it.
  void AddToGallery();
  // A right-click adds, like AddToGallery.
  void GalleryMouseDown(Qt::MouseButton button);
  void SelectFirst();
  void SelectLast();
  void DeleteAll();
  void ToggleNumbers();
  // Export, Print, their buttons and a double click: the preview dialog,
  // then the export or the print it answers with.
  void PreviewSelected();
  void ExportSelected();
  // Returns the printed rectangle; empty when nothing was printed.
  QRect PrintSelected();

  // ---- state
  // ProgramFolder + "Preview" with a trailing separator.
  std::string GalleryFolder() const;
  int32_t Counter() const { return counter_; }
  bool ShowNumbers() const { return showNumbers_; }
  const ExportState& Export() const { return export_; }

 private:
  void Build(QWidget& parent, const QRect& place);
  void Connect();
  void DrawThumbnail(int index, int left, int top, QPainter& canvas);

  TMainWindowHost& window_;
  const Makeover& model_;
  TFormPreview* preview_ = nullptr;

  TPanel* panel_ = nullptr;
  TToolBar* toolBar_ = nullptr;
  QToolButton* addButton_ = nullptr;
  QToolButton* firstButton_ = nullptr;
  QToolButton* lastButton_ = nullptr;
  QToolButton* deleteAllButton_ = nullptr;
  QToolButton* exportButton_ = nullptr;
  QToolButton* printButton_ = nullptr;
  QToolButton* numbersButton_ = nullptr;
  QToolButton* helpButton_ = nullptr;
  TImgThumbView* thumbnails_ = nullptr;

  DecodeLimits limits_ = kWindowPictureLimits;
  int32_t counter_ = 0;
  bool showNumbers_ = false;
  ExportState export_;
  AskExportFileName exportDialog_;
  ChoosePrinter printDialog_;
  // Kept for the run, so the printer chosen last is offered again.
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace glamora
