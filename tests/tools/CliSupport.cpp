// Running glamora-cli from the tests and reading what it wrote.
#include "tests/tools/CliSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <cstdlib>

#include "codecs/Bmp.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {

CliResult RunCli(const std::vector<std::string>& args) {
  const char* bin = std::getenv("GLAMORA_BIN_DIR");
  QProcess process;
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  process.start(QString::fromUtf8(bin ? bin : ".") + "/glamora-cli", list);
  process.waitForFinished(120000);
  CliResult r;
  r.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  r.Out = process.readAllStandardOutput().toStdString();
  r.Err = process.readAllStandardError().toStdString();
  return r;
}

Bitmap DecodeBmp(const std::string& path) {
  Bitmap picture;
  TImgIOParams params;
  size_t consumed = 0;
  EXPECT_EQ(codec::BmpCodec().Decode(ReadAll(path), picture, params, ProgressRecord{}, consumed), PictureStatus::Ok);
  return picture;
}

}  // namespace glamora::test
