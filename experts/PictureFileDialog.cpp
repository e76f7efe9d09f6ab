// The picture file dialog of the experts.
#include "experts/PictureFileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include "codecs/Registry.h"
#include "imaging/components/FormatTable.h"

namespace glamora {

namespace {

// "*.[jJ][pP][gG]": the dialog matches names case-sensitively.
QString EitherCasePattern(const QString& extension) {
  QString pattern = "*.";
  for (const QChar c : extension) {
    pattern += c.isLetter() ? QString("[%1%2]").arg(c.toLower()).arg(c.toUpper()) : QString(c);
  }
  return pattern;
}

}  // namespace

QStringList PictureFileFilters() {
  QStringList all;
  QStringList each;
  for (const FileFormat& format : BuiltInFormats().Entries()) {
    // Types the table lists without a codec (the metafiles) cannot be read.
    if (!codec::CodecFor(format.Id)) continue;
    QStringList patterns;
    QStringList shown;
    for (const QString& extension : QString::fromStdString(format.Extensions).split(';', Qt::SkipEmptyParts)) {
      patterns << EitherCasePattern(extension);
      shown << "*." + extension.toLower();
    }
    all << patterns;
    each << QString("%1 (%2) (%3)").arg(QString::fromStdString(format.Description), shown.join(';'), patterns.join(' '));
  }
  return QStringList{QString("All graphics (%1)").arg(all.join(' '))} + each;
}

std::string AskPictureFile(QWidget* parent, const std::string& folder) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(PictureFileFilters());
  dialog.setDirectory(QString::fromStdString(folder));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace glamora
