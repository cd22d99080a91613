// Linked into every test program: when CI is set, a skipped test fails the
// run, since there a missing tool, printer or display is a fault of the
// machine that must not pass unseen.
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class NoSkipsUnderCi : public testing::Environment {
public:
    void TearDown() override
    {
        const char* ci = std::getenv("CI");
        const int skipped = testing::UnitTest::GetInstance()->skipped_test_count();
        if (ci && *ci && skipped > 0)
            ADD_FAILURE() << skipped << " test(s) skipped while CI is set: CI tests everything";
    }
};

testing::Environment* const kNoSkipsUnderCi = testing::AddGlobalTestEnvironment(new NoSkipsUnderCi);

}  // namespace
