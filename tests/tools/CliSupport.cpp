// Running glamora-cli from the tests and reading what it wrote.
#include "tests/tools/CliSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <cstdlib>

#include "codecs/Bmp.h"
#include "tests/support/TestSupport.h"

namespace glamora::test {

std::string BuiltProgram(const std::string& name) {
  const char* bin = std::getenv("GLAMORA_BIN_DIR");
  return std::string(bin ? bin : ".") + "/" + name;
}

CliResult RunCli(const std::vector<std::string>& args) { return RunProgram("glamora-cli", args); }

CliResult RunProgram(const std::string& name, const std::vector<std::string>& args) {
  QProcess process;
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  process.start(QString::fromStdString(BuiltProgram(name)), list);
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
