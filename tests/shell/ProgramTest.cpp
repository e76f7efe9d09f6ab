// One run's windows as the program entry makes them: the face finder's
// model is read at the first search, not at start.
#include <QAction>
#include <QApplication>

#include "desktop/Settings.h"
#include "shell/Program.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/FaceFixtures.h"

namespace glamora::test {
namespace {

TEST_F(MainWindowTest, TheFaceFinderLoadsAtTheFirstSearchAndNotBefore) {
  if (!LandmarkFinder::Built()) GTEST_SKIP() << "built without the face finder";
  WriteClosingSettings(Face("Face.mff", StandardFacePicture(), RectangleRegionsHeader()));
  // A model file that is not there still starts the loading when asked.
  TProgram program(program_.Path(), program_.File("no-model.dat"));
  program.MainWindow().show();
  QApplication::processEvents();
  EXPECT_FALSE(program.FaceFinder().LoadStarted());

  Control<QAction>(program.MainWindow(), "FindEyesAndLips")->trigger();
  EXPECT_TRUE(program.FaceFinder().LoadStarted());
  EXPECT_EQ(MessageTexts().size(), 1u) << "the search says why it found no landmarks";
}

}  // namespace
}  // namespace glamora::test
