// The Qt application that every widget test runs in, created once before the first test, on the
// offscreen platform unless the environment names another. Linked into the test executable of each
// folder whose tests need widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class ApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qzlb27_tests";
    static char* argv[] = {name, nullptr};
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
