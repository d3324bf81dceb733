// Start-up, destruction and life without a host.
#include "tavrin_harness.h"

namespace {

struct path_case {
    const char* name;
    const char* path;
    const char* panelShow;
};

// Named in failure messages, instead of the struct's raw bytes.
void PrintTo(const path_case& c, std::ostream* out) {
    *out << c.name;
}

class TavrinStartup : public TavrinTest, public ::testing::WithParamInterface<path_case> {};

// Test that start-up sends exactly PS, RR and RP with code 0, and that the
// panel file is prefixed by the component's folder only when there is one.
TEST_P(TavrinStartup, SendsPanelRegisterAndPollOnly) {
    writeSettings(facilitySettings());
    std::string debug = debugOutputOf([&] { create(GetParam().path); });
    ASSERT_NE(component, nullptr);

    EXPECT_EQ(sent(), (std::vector<std::string>{GetParam().panelShow, "RR 7 1 16", "RP 7 1 16"}));
    ASSERT_EQ(host.calls().size(), 3u);
    for (const recording_host::call& c : host.calls()) {
        EXPECT_EQ(c.code, vrel_send_execute) << c.text;
    }
    EXPECT_EQ(debug, "");
}

INSTANTIATE_TEST_SUITE_P(Paths, TavrinStartup,
                         ::testing::Values(path_case{"NullPath", nullptr, "PS '1' 'p1.vrel_ui'"},
                                           path_case{"EmptyPath", "", "PS '1' 'p1.vrel_ui'"},
                                           path_case{"Folder", "/opt/vrel/panels/Tavrin",
                                                     "PS '1' '/opt/vrel/panels/Tavrin/p1.vrel_ui'"},
                                           path_case{"FolderWithSpace", "my panels",
                                                     "PS '1' 'my panels/p1.vrel_ui'"}),
                         case_name());

using TavrinLife = TavrinTest;

// Test that the factory is the library's only export: the component's and the
// frame's own functions and data stay hidden from the host.
TEST_F(TavrinLife, OnlyTheFactoryIsExported) {
    EXPECT_NE(exportedSymbol("load_vrel_client_script"), nullptr);
    for (const char* hidden :
         {"_ZN6Tavrin4takeEv", "_ZN18vrel_script_helper6notifyEPvi", "vrel_empty_text"}) {
        EXPECT_EQ(exportedSymbol(hidden), nullptr) << hidden;
    }
}

// Test that the device numbers come from the settings file: a missing file
// reads as device 0, and a negative number goes out with its sign.
TEST_F(TavrinLife, RegistersTheConfiguredCueRouter) {
    create();
    EXPECT_EQ(sent(), (std::vector<std::string>{"PS '1' 'p1.vrel_ui'", "RR 0 1 16", "RP 0 1 16"}));
    destroy();

    writeSettings({{"cue_router_number", "-3"}});
    create();
    EXPECT_EQ(sent(),
              (std::vector<std::string>{"AS", "PS '1' 'p1.vrel_ui'", "RR -3 1 16", "RP -3 1 16"}));
}

// Test that a host refusing the panel does not stop registration and polling.
TEST_F(TavrinLife, GoesOnWhenThePanelCannotBeShown) {
    writeSettings(facilitySettings());
    host.failPanelShow();
    create();
    EXPECT_EQ(sent(), (std::vector<std::string>{"PS '1' 'p1.vrel_ui'", "RR 7 1 16", "RP 7 1 16"}));
}

// Test that destruction sends "AS" once, as the very last command, both right
// after start and after a take.
TEST_F(TavrinLife, DestructionSendsAsLast) {
    start();
    destroy();
    EXPECT_EQ(sent(), std::vector<std::string>{"AS"});

    create();
    pressCue();
    EXPECT_EQ(take(), "");
    sent();
    destroy();
    EXPECT_EQ(sent(), std::vector<std::string>{"AS"});
    EXPECT_EQ(host.commands().back(), "AS");
}

// Test that without a host nothing is sent and nothing fails: replies still
// come back and diagnostics are still written.
TEST_F(TavrinLife, WorksWithoutAHost) {
    writeSettings(facilitySettings());
    create("/opt/panels", false);
    ASSERT_NE(component, nullptr);

    EXPECT_EQ(parent("return=all"), "CueRouter=7");
    status({7, 4, 11});
    parent("Source=1");
    parent("Destination=3");
    pressCue();
    timer(1);
    pressCue();
    EXPECT_EQ(take(), cueOffDiagnostic);
    destroy();

    EXPECT_TRUE(host.calls().empty());
}

} // namespace
