// The Windows test program. It ends its output with its own closing line,
// "N passed, N failed", which the runner reads instead of Wine's exit status.

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class ClosingLine : public testing::EmptyTestEventListener {
 public:
  void OnTestProgramEnd(const testing::UnitTest& unit) override {
    std::printf("%d passed, %d failed\n", unit.successful_test_count(), unit.failed_test_count());
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new ClosingLine);
  return RUN_ALL_TESTS();
}
