// Completion at the console: what is offered for each place in a statement,
// read from the facility as it is (the component built here, loaded with the
// examples' settings, router 7 routed).
#include "completion.h"
#include "console_fixture.h"
#include "scenario_parser.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A facility with the component loaded, and a scratch folder to complete
// paths in.
class Completion : public testing::Test {
protected:
    void SetUp() override {
        runner_options options;
        options.libraryFolders = {componentFolder};
        runner_ = std::make_unique<scenario_runner>(log_, options);
        for (const std::string& line :
             {std::string("settings ") + exampleSettings, std::string("router 7 1-16=20 40=2"),
              std::string("load Tavrin")}) {
            statement s;
            std::string error;
            ASSERT_EQ(parse_scenario_line("t", 1, line, false, s, error), line_result::statement);
            ASSERT_TRUE(runner_->run(s)) << runner_->failure();
        }
        fs::create_directories(folder_.file("settings_a"));
        fs::create_directories(folder_.file("settings_b"));
        writeFile(folder_.file("session.scenario"), "");
        context_.host = &runner_->host();
        context_.libraryFolders = {componentFolder};
        context_.baseFolder = folder_.path();
    }

    completion complete(const std::string& line) { return complete_statement(line, context_); }

    traffic_log log_;
    std::unique_ptr<scenario_runner> runner_;
    scratch_folder folder_;
    completion_context context_;
};

using words = std::vector<std::string>;

TEST_F(Completion, OffersWhatFitsEachPlace) {
    std::vector<std::string> destinations;
    for (int d = 1; d <= 16; ++d) {
        destinations.push_back(std::to_string(d));
    }
    destinations.push_back("40");
    const struct {
        const char* typed;
        words offered;
    } cases[] = {
        {"pr", {"press"}},
        {"ex", {"exit", "expect"}},
        // Only the button can be pressed; the texts are controls too.
        {"press ", {"ActivateCue"}},
        {"press  Act", {"ActivateCue"}},
        {"expect property ", {"ActivateCue", "CueInfo", "CueText"}},
        {"expect property CueT", {"CueText"}},
        {"expect property ActivateCue ", {"command", "text"}},
        {"expect property NoSuch ", {}},
        {"expect n", {"no", "nothing"}},
        {"expect no ", {"debug", "reply"}},
        {"expect nothing ", {"sent"}},
        {"expect timer 1 ", {"due", "running", "stopped"}},
        {"status ", {"7"}},
        // Numbers in their order, not their bytes'.
        {"expect crosspoint 7 ", destinations},
        {"status 7 1", {"1", "10", "11", "12", "13", "14", "15", "16"}},
        {"status 8 ", {}},
        {"fault d", {"delay", "drop"}},
        {"fault hold ", {"7"}},
        {"route 7 6=5 ", {"silently"}},
        {"show r", {"router", "routers"}},
        {"show panel ", {"1"}},
        {"show router ", {"7"}},
        {"load Tav", {"Tavrin"}},
        {"load Tavrin ", {"path"}},
        {"settings ", {"settings_a/", "settings_b/"}},
        {"save s", {"session.scenario", "settings_a/", "settings_b/"}},
        // Nothing inside a quoted text, after a comment or where no id fits.
        {"say \"half a te", {}},
        {"# pr", {}},
        {"unload ", {}},
        {"parent Sou", {}},
    };
    for (const auto& c : cases) {
        const completion found = complete(c.typed);
        EXPECT_EQ(found.candidates, c.offered) << "'" << c.typed << "'";
        // What is offered replaces the text after the last blank.
        const std::string typed = c.typed;
        const size_t blank = typed.find_last_of(" \t");
        if (!c.offered.empty()) {
            EXPECT_EQ(found.start, blank == std::string::npos ? 0 : blank + 1) << c.typed;
        }
    }
}

// Test that the statement words come from the language itself.
TEST_F(Completion, OffersEveryStatementFirst) {
    const words all = complete("").candidates;
    for (const char* name : {"press", "expect", "load", "advance", "quit", "help", "save"}) {
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
    }
}

TEST(CommonPrefix, IsWhatEveryCandidateBeginsWith) {
    EXPECT_EQ(common_prefix({}), "");
    EXPECT_EQ(common_prefix({"settings_a/"}), "settings_a/");
    EXPECT_EQ(common_prefix({"settings_a/", "settings_b/"}), "settings_");
    EXPECT_EQ(common_prefix({"no", "nothing"}), "no");
    EXPECT_EQ(common_prefix({"delay", "drop"}), "d");
}

} // namespace
