// The Qt application every test of this folder runs in (offscreen platform), created once before
// the first test.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class ApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "qzlb27_localisation_tests";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

}  // namespace
