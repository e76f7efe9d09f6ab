// Test entry: a QApplication exists for the widget tests, on the offscreen
// platform unless a display was chosen.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Where the sources and the built programs are, unless the caller said.
  setenv("GLAMORA_SOURCE_DIR", GLAMORA_TEST_SOURCE_DIR, 0);
  setenv("GLAMORA_BIN_DIR", GLAMORA_TEST_BIN_DIR, 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
