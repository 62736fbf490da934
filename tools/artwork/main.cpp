#include <QImage>
#include <QString>
#include <fstream>
#include <iostream>

#include "common/ui/qt/ProgramIcon.h"
#include "tools/artwork/HandCursor.h"

// Writes the program's own artwork beside the program at build time: artwork CURSOR ICON writes the
// hand pointer (HAND-M.CUR) and the program icon as a 256-pixel PNG.
int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: artwork HAND-M.CUR quorvane.png\n";
    return 2;
  }
  const auto cursor = Artwork::HandCursorFile();
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(cursor.data()), static_cast<std::streamsize>(cursor.size()));
  if (!out.flush()) {
    std::cerr << "artwork: cannot write " << argv[1] << "\n";
    return 1;
  }
  if (!Ui::ProgramIconImage(256).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::cerr << "artwork: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
