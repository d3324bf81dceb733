// What the frame decides itself, whatever the string library answers where
// the answer is the library's: these cases run against the stand-ins and
// against the other libraries (tests/other_libraries), whose comparisons
// ignore case. They use only the operations every string library promises.
#include "recording_host.h"
#include "vrel_script_helper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

// A component with no behaviour of its own, to reach the frame's builders.
class plain_component : public vrel_script_helper {
public:
    explicit plain_component(client_host* toHost) : vrel_script_helper(toHost, "") {}

protected:
    void onButton(notify_ref*) override {}
    int onRouteStatus(notify_ref*) override { return 0; }
    vrel_string onParentCommand(notify_ref*) override { return vrel_string(); }
    void onTimer(int) override {}
};

struct text_get_case {
    const char* name;
    const char* property;
    const char* reply;
    const char* result;
    bool diagnostic;
};

// Named in failure messages, instead of the struct's raw bytes.
void PrintTo(const text_get_case& c, std::ostream* out) {
    *out << c.name;
}

class FrameTextGet : public testing::TestWithParam<text_get_case> {};

// Test that textGet takes a value only for a reply naming the property asked
// for byte for byte: a name that differs in case is another property, even to
// a string library that compares without case.
TEST_P(FrameTextGet, NamesMatchByteForByte) {
    const text_get_case& c = GetParam();
    recording_host host;
    plain_component component(&host);
    host.replyTo("TG ", c.reply);
    vrel_string result("stale");
    CaptureStderr();
    component.textGet(c.property, "1", "alm_3", result);
    const std::string diagnostic = GetCapturedStderr();
    EXPECT_EQ(std::string(static_cast<const char*>(result)), c.result);
    EXPECT_EQ(!diagnostic.empty(), c.diagnostic) << diagnostic;
    EXPECT_EQ(host.protocolFaults(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FrameTextGet,
    testing::Values(text_get_case{"SameName", "value", "value=3", "3", false},
                    text_get_case{"NameInOtherCase", "value", "Value=3", "", true},
                    text_get_case{"PropertyInOtherCase", "VALUE", "value=3", "", true},
                    text_get_case{"All", "all", "text=a", "text=a", false},
                    // Only "all" itself asks for the whole reply.
                    text_get_case{"AllInOtherCase", "ALL", "ALL=x", "x", false}),
    [](const testing::TestParamInfo<text_get_case>& param) { return param.param.name; });

} // namespace
