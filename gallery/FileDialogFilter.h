#pragma once
// File dialog filters that match an extension in either letter case. The
// dialog shows "Description (*.EXT)" and filters with a pattern of letter
// pairs, "*.[eE][xX][tT]", which it hides (QFileDialog::HideNameFilterDetails).
#include <QString>

namespace glamora {

inline QString EitherCaseFilter(const QString& description, const QString& extension) {
  QString pattern = "*.";
  for (const QChar c : extension) {
    if (c.isLetter()) {
      pattern += QString("[%1%2]").arg(c.toLower()).arg(c.toUpper());
    } else {
      pattern += c;
    }
  }
  return QString("%1 (*.%2) (%3)").arg(description, extension.toUpper(), pattern);
}

}  // namespace glamora
