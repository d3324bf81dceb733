// The example facility from start to end, as a host drives it.
#include "tavrin_harness.h"

#include <cstdlib>

namespace {

using TavrinExampleFacility = TavrinTest;

// Test the whole traffic of two takes, byte for byte: one that gives cue and
// one that finds the source's cue destination busy.
TEST_F(TavrinExampleFacility, TwoTakesByteForByte) {
    ::setenv("VREL_CONFIG_DIR", TAVRIN_EXAMPLE_SETTINGS, 1);
    std::string debug;
    debug += debugOutputOf([&] { create(TAVRIN_LIBRARY_DIR); });
    ASSERT_NE(component, nullptr);

    // The poll's answer: nothing on the cue router but silence (20), except
    // destination 4's cue source (2) on cue router destination 5 and the
    // newsroom (7) on destination 2. Another router's status is ignored.
    for (int index = 1; index <= 16; ++index) {
        status({7, index, index == 5 ? 2 : index == 2 ? 7 : 20});
    }
    status({8, 12, 7});

    debug += debugOutputOf([&] {
        EXPECT_EQ(parent("Source=12"), std::nullopt);
        EXPECT_EQ(parent("Destination=4"), std::nullopt);
        press("1", "ActivateCue");
        EXPECT_EQ(parent("Take=1"), std::nullopt);
    });

    // The host carries out the routes and reports them.
    status({7, 5, 20});
    status({7, 12, 2});
    timer(1);

    debug += debugOutputOf([&] {
        parent("Source=2");
        parent("Destination=9");
        press("1", "ActivateCue");
        parent("Take=1");
    });
    destroy();

    const std::string panelFile = std::string("PS '1' '") + TAVRIN_LIBRARY_DIR + "/p1.vrel_ui'";
    EXPECT_EQ(host.commands(),
              (std::vector<std::string>{
                  panelFile,
                  "RR 7 1 16",
                  "RP 7 1 16",
                  // First take: cue given.
                  "TP 'text=Full Facs' '1' 'ActivateCue'",
                  "TP 'text=Click to remove cue' '1' 'CueText'",
                  "ET 1 5000",
                  "RC 7 20 5 ',' 1",
                  "RC 7 2 12 ',' 1",
                  "IW 9 'green' 2 1",
                  "TP 'text=Listen Only' '1' 'ActivateCue'",
                  "TP 'text=Click to add cue' '1' 'CueText'",
                  // The message timer.
                  "TP 'text=' '1' 'CueInfo'",
                  "ET 1",
                  // Second take: source 2's cue destination carries the newsroom.
                  "TP 'text=Full Facs' '1' 'ActivateCue'",
                  "TP 'text=Click to remove cue' '1' 'CueText'",
                  "ET 1 5000",
                  "IW 9 'grey' 5 1",
                  "TP 'text=Newsroom has the cue | You are getting listen-only' '1' 'CueInfo'",
                  "RC 7 20 -1 ',' 1",
                  "TP 'text=Listen Only' '1' 'ActivateCue'",
                  "TP 'text=Click to add cue' '1' 'CueText'",
                  "AS",
              }));
    for (const recording_host::call& c : host.calls()) {
        EXPECT_EQ(c.code, vrel_send_execute) << c.text;
    }
    EXPECT_EQ(debug, "");
}

} // namespace
