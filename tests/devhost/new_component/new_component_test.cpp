// vrel-devhost new: which names it takes, the files it fills in, and the
// folders it refuses.
#include "component_files.h"
#include "component_name.h"
#include "make_new_component.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Test that a name is taken only when it can be a class, a library and a
// CMake target all at once, and that a refusal says why.
TEST(ComponentName, TakesIdentifiersTheBuildCanUse) {
    struct name_case {
        const char* name;
        const char* problem; // a piece of the reason, or "" when the name is taken
    };
    const name_case cases[] = {
        {"Beacon", ""},
        {"lamp2", ""},
        {"Studio_Tally", ""},
        {"x", ""},
        {"", "needs a name"},
        {"2lamp", "not a C++ identifier"},
        {"my-lamp", "not a C++ identifier"},
        {"my lamp", "not a C++ identifier"},
        {"L\xc3\xa4mp", "not a C++ identifier"},
        {"Lamp;", "not a C++ identifier"},
        {"class", "C++ keyword"},
        {"delete", "C++ keyword"},
        {"concept", "C++ keyword"},
        {"_Lamp", "reserved for the compiler"},
        {"_lamp", "reserved for the compiler"},
        {"my__lamp", "reserved for the compiler"},
        {"vrel_lamp", "a name of the frame"},
        {"client_host", "a name of the frame"},
        {"notify_ref", "a name of the frame"},
        {"test", "CMake keeps for itself"},
        {"install", "CMake keeps for itself"},
    };
    for (const name_case& c : cases) {
        const std::string problem = component_name_problem(c.name);
        if (*c.problem == '\0') {
            EXPECT_EQ(problem, "") << c.name;
        } else {
            EXPECT_NE(problem.find(c.problem), std::string::npos)
                << "'" << c.name << "' gave: " << problem;
        }
    }
}

TEST(ComponentName, SectionIsTheNameInCapitals) {
    EXPECT_EQ(settings_section_of("Beacon"), "BEACON");
    EXPECT_EQ(settings_section_of("studio_Tally2"), "STUDIO_TALLY2");
}

const component_file* fileAt(const std::vector<component_file>& files, const std::string& path) {
    for (const component_file& file : files) {
        if (file.path == path) {
            return &file;
        }
    }
    return nullptr;
}

// Test that every file a component needs is there, named after it, and that
// no marker of the templates is left in a path or a text.
TEST(ComponentFiles, AreFilledInWithTheName) {
    const std::vector<component_file> files = component_files("Beacon");
    std::set<std::string> paths;
    for (const component_file& file : files) {
        paths.insert(file.path);
        EXPECT_EQ(file.text.find("@NAME@"), std::string::npos) << file.path;
        EXPECT_EQ(file.text.find("@SECTION@"), std::string::npos) << file.path;
        EXPECT_EQ(file.text.find("@GUARD@"), std::string::npos) << file.path;
    }
    EXPECT_EQ(paths,
              (std::set<std::string>{"CMakeLists.txt", "Beacon.h", "Beacon.cpp", "factory.cpp",
                                     "Beacon.vrel_ui", "Beacon.settings_rules.xml",
                                     "settings/object_settings.xml", "Beacon.scenario"}));
    EXPECT_EQ(paths.size(), files.size()) << "a path given twice";

    const auto holds = [&files](const std::string& path, const std::string& piece) {
        const component_file* file = fileAt(files, path);
        return file != nullptr && file->text.find(piece) != std::string::npos;
    };
    EXPECT_TRUE(holds("CMakeLists.txt", "find_package(vrel CONFIG REQUIRED)"));
    EXPECT_TRUE(holds("CMakeLists.txt", "vrel_add_component(Beacon\n"));
    EXPECT_TRUE(holds("CMakeLists.txt", "PANELS Beacon.vrel_ui"));
    EXPECT_TRUE(holds("CMakeLists.txt", "SETTINGS_RULES Beacon.settings_rules.xml"));
    EXPECT_TRUE(holds("Beacon.h", "#ifndef BEACON_H\n#define BEACON_H\n"));
    EXPECT_TRUE(holds("Beacon.h", "class Beacon : public vrel_script_helper {"));
    EXPECT_TRUE(holds("factory.cpp", "new (std::nothrow) Beacon(host, text)"));
    EXPECT_TRUE(holds("Beacon.cpp", "panelShow(\"1\", \"Beacon.vrel_ui\", \"\");"));
    EXPECT_TRUE(holds("Beacon.scenario", "load Beacon\n"));
    // The section the component reads is the one its rules and settings name.
    EXPECT_TRUE(holds("Beacon.cpp", "const vrel_string section(\"BEACON\");"));
    EXPECT_TRUE(holds("Beacon.settings_rules.xml", "component=\"Beacon\" section=\"BEACON\""));
    EXPECT_TRUE(holds("settings/object_settings.xml", "<section id=\"BEACON\">"));
}

// A folder of its own under the system's temporary folder, removed at the end.
class NewComponent : public ::testing::Test {
protected:
    NewComponent() {
        root = fs::temp_directory_path() /
               ("vrel_new_component_" + std::to_string(std::random_device()()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    ~NewComponent() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // Runs the command; its report goes to `report`.
    bool make(const std::string& name, const fs::path& folder, std::string& error,
              const std::string& kitPrefix = "") {
        std::ostringstream out;
        const bool made = make_new_component({name, folder.string(), kitPrefix}, out, error);
        report = out.str();
        return made;
    }

    static std::string read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    fs::path root;
    std::string report;
};

// Test that a folder that does not exist is made and holds exactly the
// filled-in files, and that the report names them and the commands to build.
TEST_F(NewComponent, WritesEveryFileIntoANewFolder) {
    const fs::path folder = root / "work" / "Beacon";
    std::string error;
    ASSERT_TRUE(make("Beacon", folder, error, "/opt/my kit")) << error;
    EXPECT_EQ(error, "");
    size_t written = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        written += entry.is_regular_file() ? 1 : 0;
    }
    const std::vector<component_file> files = component_files("Beacon");
    EXPECT_EQ(written, files.size());
    for (const component_file& file : files) {
        EXPECT_EQ(read(folder / file.path), file.text) << file.path;
        EXPECT_NE(report.find("  " + file.path + "\n"), std::string::npos) << file.path;
    }
    // A prefix with a blank is quoted for the shell.
    EXPECT_NE(report.find("-DCMAKE_PREFIX_PATH='/opt/my kit'\n"), std::string::npos) << report;
    EXPECT_NE(report.find("cmake --build " + (folder / "build").generic_string()),
              std::string::npos)
        << report;
}

// Test that an empty folder that exists is used as it is.
TEST_F(NewComponent, TakesAnEmptyFolder) {
    std::string error;
    EXPECT_TRUE(make("Tally", root, error)) << error;
    EXPECT_TRUE(fs::is_regular_file(root / "Tally.cpp"));
    EXPECT_NE(report.find("<the kit's install prefix>"), std::string::npos) << report;
}

// Test that what is refused leaves the disk as it was and says why.
TEST_F(NewComponent, RefusesWithoutTouchingAnything) {
    const fs::path used = root / "used";
    fs::create_directories(used);
    std::ofstream(used / "notes.txt") << "mine";
    const fs::path file = root / "a_file";
    std::ofstream(file) << "not a folder";

    struct refusal {
        std::string name;
        fs::path folder;
        std::string problem;
    };
    const refusal cases[] = {
        {"Beacon", used, "is not empty: a new component starts in an empty folder"},
        {"Beacon", file, "is not a folder"},
        {"my-lamp", root / "new", "is not a C++ identifier"},
        {"class", root / "new", "is a C++ keyword"},
    };
    for (const refusal& c : cases) {
        std::string error;
        EXPECT_FALSE(make(c.name, c.folder, error)) << c.name << " in " << c.folder;
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
        EXPECT_EQ(report, "");
    }
    EXPECT_EQ(read(used / "notes.txt"), "mine");
    EXPECT_EQ(read(file), "not a folder");
    EXPECT_FALSE(fs::exists(root / "new"));
    EXPECT_EQ(std::distance(fs::directory_iterator(used), fs::directory_iterator()), 1);
}

} // namespace
