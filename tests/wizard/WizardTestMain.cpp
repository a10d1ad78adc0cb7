// The wizard tests run in a desktop of their own (see WizardDesktop.h).
#include <gtest/gtest.h>

#include <QApplication>

#include "TestSupport.h"
#include "WizardDesktop.h"

int main(int argc, char** argv) {
  static testing_support::TTempDir desktop;
  wizard_test::SetUpDesktop(desktop.Path());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
