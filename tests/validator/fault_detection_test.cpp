// The validator's tests fail, with a message that names the fault, when a
// component breaks a rule; and pass for one that keeps them all.
#include "component_driver.h"
#include "component_library.h"
#include "memory_usage.h"
#include "test_context.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <unistd.h>

#ifndef VREL_FAULTY_COMPONENT
#error "VREL_FAULTY_COMPONENT names the faulty component library"
#endif

namespace {

class with_fault {
public:
    explicit with_fault(const char* name) { ::setenv("VREL_FAULT", name, 1); }
    ~with_fault() { ::unsetenv("VREL_FAULT"); }
};

test_context smallRun() {
    test_context context;
    context.options.library = VREL_FAULTY_COMPONENT;
    // The library's folder, where the panel file it shows lies.
    const std::string library = VREL_FAULTY_COMPONENT;
    context.componentPath = library.substr(0, library.rfind('/'));
    context.options.cycles = 60;
    context.options.notifications = 3000;
    context.options.verbosity = -1;
    context.seed = 11;
    return context;
}

bool mentions(const report& out, const std::string& fragment) {
    for (const std::string& message : out.messages()) {
        if (message.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}

struct fault_case {
    const char* fault;
    test_body test;
    const char* message; // a fragment of the expected failure
    // Smaller than what a memory tool keeps per cycle for itself: its leak
    // checker, not the heap's trend, finds it there.
    bool belowMemoryTools = false;
};

class detected_fault : public testing::TestWithParam<fault_case> {};

TEST_P(detected_fault, FailsWithAMessage) {
    const fault_case& c = GetParam();
    if (c.test == runLifecycleTest && sampleMemory().heapBytes < 0) {
        GTEST_SKIP() << "the heap in use cannot be measured under this allocator (valgrind)";
    }
    if (c.belowMemoryTools && sampleMemory().underMemoryTool) {
        GTEST_SKIP() << "a memory tool keeps more per cycle than this leak";
    }
    with_fault fault(c.fault);
    report out(-1);
    c.test(smallRun(), out);
    EXPECT_GT(out.failures(), 0) << c.fault;
    EXPECT_TRUE(mentions(out, c.message))
        << c.fault << ": no message mentions \"" << c.message
        << "\"; first: " << (out.messages().empty() ? std::string("none") : out.messages()[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, detected_fault,
    testing::Values(
        fault_case{"reply-to-timer", runLoadTest, "only parent commands (type 3) may"},
        fault_case{"bad-text", runLoadTest, "does not have the form TP"},
        fault_case{"early-end", runLoadTest, "while it was not being destroyed"},
        fault_case{"no-last-words", runLoadTest, "without sending \"AS\""},
        fault_case{"unreturned-query", runLoadTest, "was not handed back before"},
        fault_case{"returns-other-reply", runLoadTest, "only the replies to TG and XI"},
        fault_case{"empty-reply", runLoadTest, "is an empty text"},
        fault_case{"same-reply-twice", runLoadTest, "still holds"},
        fault_case{"nondeterministic", runSoakTest, "different command transcripts"},
        fault_case{"kept-per-load", runLifecycleTest, "the heap in use grew"},
        fault_case{"leak-per-load", runLifecycleTest, "the heap in use grew", true},
        fault_case{"leak-per-component", runLifecycleTest, "the heap in use grew", true},
        fault_case{"reply-to-timer", runHostileTest, "only parent commands (type 3) may"}),
    [](const testing::TestParamInfo<fault_case>& param) {
        std::string name = std::string(param.param.fault) + "_" + std::to_string(param.index);
        for (char& c : name) {
            c = c == '-' ? '_' : c;
        }
        return name;
    });

// The heap's trend at the levels' own cycle counts: a component that keeps
// 24 bytes per load or per component fails at every level, one that keeps
// nothing passes. Level 10 runs 2,000 cycles here, not its 32,000, with its
// two components at once.
struct level_case {
    int level;
    const char* fault;
};

void PrintTo(const level_case& c, std::ostream* os) {
    *os << "level " << c.level << ", fault '" << c.fault << "'";
}

class lifecycle_at_level : public testing::TestWithParam<level_case> {};

TEST_P(lifecycle_at_level, FailsOnlyALeak) {
    const level_case& c = GetParam();
    if (*c.fault != '\0' && sampleMemory().underMemoryTool) {
        GTEST_SKIP() << "a memory tool keeps more per cycle than these leaks";
    }
    with_fault fault(c.fault);
    test_context context = smallRun();
    context.options.level = c.level;
    context.options.cycles = c.level == 10 ? 2000 : -1;
    report out(-1);
    runLifecycleTest(context, out);
    if (std::string(c.fault).empty()) {
        EXPECT_EQ(out.failures(), 0) << (out.messages().empty() ? "" : out.messages()[0]);
    } else {
        EXPECT_TRUE(mentions(out, "the heap in use grew in each eighth of cycles")) << c.fault;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, lifecycle_at_level,
                         testing::Values(level_case{1, ""}, level_case{1, "leak-per-load"},
                                         level_case{1, "leak-per-component"}, level_case{5, ""},
                                         level_case{5, "leak-per-load"},
                                         level_case{5, "leak-per-component"}, level_case{10, ""},
                                         level_case{10, "leak-per-load"},
                                         level_case{10, "leak-per-component"}),
                         [](const testing::TestParamInfo<level_case>& tested) {
                             std::string name = "level" + std::to_string(tested.param.level) + "_" +
                                                (*tested.param.fault ? tested.param.fault : "none");
                             for (char& c : name) {
                                 c = c == '-' ? '_' : c;
                             }
                             return name;
                         });

TEST(FaultDetection, AReplyStillHeldCannotBeReturnedAgain) {
    with_fault fault("same-reply-twice");
    component_library library;
    std::string error;
    ASSERT_TRUE(library.load(VREL_FAULTY_COMPONENT, error)) << error;
    report out(-1);
    checking_host host(out);
    component_driver driver(library.factory(), &host, out, "");
    ASSERT_TRUE(driver.create());
    char first[] = "_events";
    char second[] = "_events";
    driver.notify(first, 3);
    driver.notify(second, 3);
    EXPECT_TRUE(mentions(out, "still holds"));
}

TEST(FaultDetection, ALibraryThatCannotBeUnloadedFailsTheCycles) {
    ::unsetenv("VREL_FAULT");
    test_context context = smallRun();
    context.options.library = VREL_STICKY_COMPONENT;
    report out(-1);
    runLifecycleTest(context, out);
    EXPECT_TRUE(mentions(out, "stays loaded after dlclose"));
}

TEST(FaultDetection, AComponentThatKeepsEveryRulePassesEveryTest) {
    ::unsetenv("VREL_FAULT");
    for (test_body test :
         {runLoadTest, runLifecycleTest, runSoakTest, runHostileTest, runSettingsTest}) {
        report out(-1);
        test(smallRun(), out);
        EXPECT_EQ(out.failures(), 0) << (out.messages().empty() ? "" : out.messages()[0]);
        EXPECT_GT(out.checks(), 0);
    }
}

// The settings test writes hostile values where the component reads: the
// keys its rules name in their section, or without rules the entries of the
// given settings file. The faulty component's "trusts-settings" puts the
// entry "device" of section FAULTY into a command as written.
struct settings_case {
    const char* name;
    const char* rules;    // the rules file's text, or null for none
    const char* settings; // object_settings.xml, or null for none
    bool fails;
};

void PrintTo(const settings_case& c, std::ostream* os) {
    *os << c.name;
}

class attacked_settings : public testing::TestWithParam<settings_case> {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrel_attacked_settings_XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        ::unlink((folder + "/object_settings.xml").c_str());
        ::rmdir(folder.c_str());
    }
    std::string folder;
};

TEST_P(attacked_settings, FailOnlyWhereTheComponentReads) {
    const settings_case& c = GetParam();
    with_fault fault("trusts-settings");
    test_context context = smallRun();
    if (c.settings != nullptr) {
        std::ofstream(folder + "/object_settings.xml") << c.settings;
        context.options.settingsFolder = folder;
    }
    if (c.rules != nullptr) {
        std::string error;
        ASSERT_TRUE(parse_settings_rules("faulty.settings_rules.xml", c.rules,
                                         context.settings.rules, error))
            << error;
        context.settings.found = true;
    }
    report out(-1);
    runSettingsTest(context, out);
    EXPECT_GT(out.checks(), 0);
    if (!c.fails) {
        EXPECT_EQ(out.failures(), 0) << (out.messages().empty() ? "" : out.messages()[0]);
        return;
    }
    ASSERT_GT(out.failures(), 0);
    for (const folded_failure& failure : out.folded()) {
        EXPECT_EQ(failure.during.rfind("settings: FAULTY/device = ", 0), 0u) << failure.during;
    }
}

const char* const deviceRules =
    R"(<settings-rules component="Faulty" section="FAULTY"><number key="device"/></settings-rules>)";
const char* const otherRules =
    R"(<settings-rules component="Faulty" section="OTHER"><number key="device"/></settings-rules>)";
const char* const deviceSeven =
    R"(<settings><section id="FAULTY"><entry id="device" value="7"/></section></settings>)";

INSTANTIATE_TEST_SUITE_P(
    Keys, attacked_settings,
    testing::Values(
        settings_case{"no_rules_and_no_settings_leave_the_key_alone", nullptr, nullptr, false},
        settings_case{"the_key_the_rules_name", deviceRules, nullptr, true},
        settings_case{"without_rules_the_entries_of_the_settings_file", nullptr, deviceSeven, true},
        settings_case{"rules_of_another_section_leave_the_given_value", otherRules, deviceSeven,
                      false}),
    [](const testing::TestParamInfo<settings_case>& tested) {
        return std::string(tested.param.name);
    });

} // namespace
