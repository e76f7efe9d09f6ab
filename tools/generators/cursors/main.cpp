// Writes the cursor pictures as <NAME>.png and their hot spots as
// hotspots.txt ("NAME x y" per line) into the folder given as argument.
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "tools/generators/cursors/CursorArt.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen-cursors <output folder>\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  QFile table(folder + "/hotspots.txt");
  if (!table.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
    std::fprintf(stderr, "cannot write %s/hotspots.txt\n", argv[1]);
    return 1;
  }
  QTextStream out(&table);
  for (const auto& cursor : glamora::cursors::DrawAllCursors()) {
    const QString file = folder + "/" + cursor.Name + ".png";
    if (!cursor.Picture.save(file, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
    out << cursor.Name << ' ' << cursor.HotSpot.x() << ' ' << cursor.HotSpot.y() << '\n';
  }
  return 0;
}
