#include "Controller/SwitchWorker.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// What a switch moves has moved by the time a test of this binary looks: the files move inline
// here, and the tests of the worker turn it off themselves.
class InlineSwitches : public testing::Environment {
public:
    void SetUp() override { SwitchWorker::setInline(true); }
};
const testing::Environment *const inlineSwitches = testing::AddGlobalTestEnvironment(new InlineSwitches);

} // namespace
} // namespace quorvane
