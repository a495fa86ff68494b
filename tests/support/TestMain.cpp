// Test entry point: every test runs in a fresh temporary directory as its
// current directory, so that whatever it writes there (logs, queue files) is
// removed with it and nothing lands in the build or source tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "support/TestUtil.h"

namespace {

class TempCwdListener : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { dir_ = std::make_unique<testsupport::TempCwd>(); }
    void OnTestEnd(const ::testing::TestInfo&) override { dir_.reset(); }

private:
    std::unique_ptr<testsupport::TempCwd> dir_;
};

} // namespace

int main(int argc, char** argv)
{
    setenv("TZ", "UTC", 1);
    tzset();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TempCwdListener);
    return RUN_ALL_TESTS();
}
