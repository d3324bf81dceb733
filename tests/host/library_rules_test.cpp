// A component's settings rules found beside its library: the names a library
// file can be given by, and the rules file of the first name that has one.
#include "component_library.h"
#include "settings_folder.h"
#include "settings_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

struct names_case {
    const char* path;
    std::vector<std::string> names;
};

TEST(LibraryNames, AreTheFileNameWithoutExtensionAndLib) {
    const names_case cases[] = {
        {"build/lib/libTavrin.so", {"Tavrin", "libTavrin"}},
        {"Tavrin.dll", {"Tavrin"}},
        {"C:/kit/libLamp.dll", {"Lamp", "libLamp"}},
        {"/opt/Beacon.so", {"Beacon"}},
        // "lib" alone is a name, not a prefix.
        {"lib.so", {"lib"}},
        {"libx", {"x", "libx"}},
        {"", {}},
    };
    for (const names_case& c : cases) {
        EXPECT_EQ(component_library::namesOf(c.path), c.names) << c.path;
    }
}

class LibraryRules : public testing::Test {
protected:
    void touch(const std::string& name) {
        std::ofstream(folder.path() + "/" + name) << "<settings-rules/>\n";
    }
    std::string beside(const std::string& library, std::vector<std::string>& tried) {
        return find_library_rules(folder.path() + "/" + library, tried);
    }
    settings_folder folder;
};

TEST_F(LibraryRules, TheComponentsOwnNameComesFirst) {
    touch("Tavrin.settings_rules.xml");
    touch("libTavrin.settings_rules.xml");
    std::vector<std::string> tried;
    EXPECT_EQ(beside("libTavrin.so", tried), folder.path() + "/Tavrin.settings_rules.xml");
    EXPECT_EQ(tried.size(), 1u);
}

TEST_F(LibraryRules, TheWholeFileNameIsTriedNext) {
    touch("libOdd.settings_rules.xml");
    std::vector<std::string> tried;
    EXPECT_EQ(beside("libOdd.so", tried), folder.path() + "/libOdd.settings_rules.xml");
    EXPECT_EQ(tried, (std::vector<std::string>{folder.path() + "/Odd.settings_rules.xml",
                                               folder.path() + "/libOdd.settings_rules.xml"}));
}

TEST_F(LibraryRules, NoneBesideALibraryIsTheEmptyTextWithEveryPathTried) {
    touch("Other.settings_rules.xml");
    std::vector<std::string> tried;
    EXPECT_EQ(beside("libLamp.so", tried), "");
    EXPECT_EQ(tried.size(), 2u);
}

TEST(LibraryRulesHere, ALibraryWithoutAFolderIsLookedForInTheCurrentOne) {
    std::vector<std::string> tried;
    EXPECT_EQ(find_library_rules("libNowhere_xyz.so", tried), "");
    ASSERT_FALSE(tried.empty());
    EXPECT_EQ(tried[0], "./Nowhere_xyz.settings_rules.xml");
}

} // namespace
