// Settings lookup through objectSetting and the configuration reader behind it.
#include "file_times.h"
#include "recording_component.h"
#include "settings_folder.h"
#include "vrel_config.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>
#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

using strings = std::vector<std::string>;

class ObjectSetting : public testing::Test {
protected:
    std::string setting(const char* section, const char* key) {
        return component.objectSetting(section, key).c_str();
    }

    settings_folder folder;
    recording_component component{nullptr};
};

// Test that the first of two entries with one key wins.
TEST_F(ObjectSetting, FirstOfDuplicateKeysWins) {
    folder.writeSection(
        "ZELK_ROUTER",
        {{"cue_info_number", "9"}, {"cue_router_number", "5"}, {"cue_router_number", "9"}});
    EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), "5");
    EXPECT_EQ(setting("ZELK_ROUTER", "cue_info_number"), "9");
}

TEST_F(ObjectSetting, MissingKeySectionOrFileGiveEmpty) {
    folder.writeSection("ZELK_ROUTER", {{"cuesources", "101,102,103"}, {"empty", ""}});
    EXPECT_EQ(setting("ZELK_ROUTER", "cuesources"), "101,102,103");
    EXPECT_EQ(setting("ZELK_ROUTER", "missing"), "");
    EXPECT_EQ(setting("ZELK_ROUTER", "CUESOURCES"), "") << "keys are case-sensitive";
    EXPECT_EQ(setting("ZELK_ROUTER", "empty"), "");
    EXPECT_EQ(setting("OTHER", "cuesources"), "");
    EXPECT_EQ(setting("", "cuesources"), "");
    folder.remove();
    EXPECT_EQ(setting("ZELK_ROUTER", "cuesources"), "");
}

// Test that entries lacking an attribute, sections without entries and
// elements that are not entries are handled without surprises.
TEST_F(ObjectSetting, IncompleteEntriesAndOtherElements) {
    folder.write(R"(<?xml version="1.0"?>
<settings>
  <section id="EMPTY"/>
  <section id="ZELK_ROUTER">
    <note id="cue_router_number" value="1"/>
    <entry value="2"/>
    <entry id="no_value"/>
    <entry id="cue_router_number" value="3"/>
    <entry id="amp" value="a&amp;b &lt;c&gt;"/>
  </section>
  <section id="ZELK_ROUTER">
    <entry id="later" value="4"/>
  </section>
</settings>)");
    EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), "3");
    EXPECT_EQ(setting("ZELK_ROUTER", ""), "2") << "a missing id reads as the empty text";
    EXPECT_EQ(setting("ZELK_ROUTER", "no_value"), "");
    EXPECT_EQ(setting("ZELK_ROUTER", "amp"), "a&b <c>");
    EXPECT_EQ(setting("ZELK_ROUTER", "later"), "") << "the first section with an id wins";
    EXPECT_EQ(setting("EMPTY", ""), "");

    vrel_config empty("object_settings.EMPTY");
    EXPECT_FALSE(empty.isChildValid());
    EXPECT_STREQ(empty.childAttr("id").c_str(), "");
    EXPECT_FALSE(empty.nextChild());
}

// Test that a file that is not well-formed reads as missing and draws exactly
// one diagnostic line that names the file, however often it is read.
TEST_F(ObjectSetting, MalformedFileGivesEmptyAndOneDiagnostic) {
    folder.write("<settings><section id=\"ZELK_ROUTER\"><entry id=\"a\" value=\"1\">"
                 "</section></settings>");
    CaptureStderr();
    const std::string value = setting("ZELK_ROUTER", "a");
    const std::string again = setting("ZELK_ROUTER", "a");
    const std::string diagnostic = GetCapturedStderr();
    EXPECT_EQ(value, "");
    EXPECT_EQ(again, "");
    const std::string file = folder.path() + "/object_settings.xml";
    EXPECT_NE(diagnostic.find(file), std::string::npos) << diagnostic;
    ASSERT_FALSE(diagnostic.empty());
    EXPECT_EQ(diagnostic.find('\n'), diagnostic.size() - 1) << "one line: " << diagnostic;

    // Once corrected, the file is read.
    folder.writeSection("ZELK_ROUTER", {{"a", "1"}});
    EXPECT_EQ(setting("ZELK_ROUTER", "a"), "1");
}

TEST_F(ObjectSetting, NonXmlAndEmptyFilesGiveEmpty) {
    for (const char* text : {"", "cue_router_number=7\n", "<settings>", "\x01\x02garbage"}) {
        folder.write(text);
        CaptureStderr();
        EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), "") << text;
        const std::string diagnostic = GetCapturedStderr();
        EXPECT_LE(std::count(diagnostic.begin(), diagnostic.end(), '\n'), 1) << diagnostic;
    }
}

// Test that a settings file changed on disk is read again, also when it is
// rewritten in place with the same size straight away.
TEST_F(ObjectSetting, ChangedFileIsReadAgain) {
    folder.writeSection("ZELK_ROUTER", {{"cue_router_number", "5"}});
    EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), "5");
    folder.writeSection("ZELK_ROUTER", {{"cue_router_number", "6"}});
    EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), "6");

    const std::string file = folder.path() + "/object_settings.xml";
    for (const char* value : {"7", "8", "9"}) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "<settings><section id=\"ZELK_ROUTER\"><entry id=\"cue_router_number\" value=\""
            << value << "\"/></section></settings>";
        out.close();
        EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), value);
    }
}

// Test that a rewrite that leaves size, inode and modification time as they
// were, as a coarse file clock does for two writes within one tick, is still
// read again.
TEST_F(ObjectSetting, RewriteWithinOneClockTickIsReadAgain) {
    const std::string file = folder.path() + "/object_settings.xml";
    folder.writeSection("ZELK_ROUTER", {{"cue_router_number", "5"}});
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    file_time written;
    ASSERT_TRUE(modificationTime(file, written));
    EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), "5");

    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<settings>\n  <section "
               "id=\"ZELK_ROUTER\">\n    <entry id=\"cue_router_number\" value=\"6\"/>\n  "
               "</section>\n</settings>\n";
    }
    ASSERT_TRUE(setModificationTime(file, written));
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    ASSERT_EQ(after.st_size, before.st_size);
    ASSERT_EQ(after.st_ino, before.st_ino);
    ASSERT_EQ(after.st_mtime, before.st_mtime);
    EXPECT_EQ(setting("ZELK_ROUTER", "cue_router_number"), "6");
}

// Test that a file that has long been as it is is parsed only once: a change
// that leaves its stamp exactly as it was is not seen.
TEST_F(ObjectSetting, SettledFileIsParsedOnce) {
    const std::string file = folder.path() + "/object_settings.xml";
    const auto writeInPlace = [&file](const char* value) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "<settings><section id=\"S\"><entry id=\"k\" value=\"" << value
            << "\"/></section></settings>";
    };
    writeInPlace("1");
    const file_time hourAgo{::time(nullptr) - 3600, 0};
    ASSERT_TRUE(setModificationTime(file, hourAgo));
    EXPECT_EQ(setting("S", "k"), "1");
    writeInPlace("2");
    ASSERT_TRUE(setModificationTime(file, hourAgo));
    EXPECT_EQ(setting("S", "k"), "1");
}

// Test that a file dated ahead of the clock, also past 32-bit seconds (2040)
// or past 64-bit nanoseconds (2300), is read, and read again when it changes:
// a version dated in the future has not settled.
TEST_F(ObjectSetting, FileDatedFarAheadIsReadAgainWhenChanged) {
    const std::string file = folder.path() + "/object_settings.xml";
    std::vector<long long> times{2208988800LL};
#if !defined(_WIN32)
    // wine, which runs the Windows build here, does not keep a file time that
    // far ahead.
    times.push_back(10413792000LL);
#endif
    for (const long long seconds : times) {
        const file_time ahead{seconds, 0};
        folder.writeSection("ZELK_ROUTER", {{"k", "1"}});
        ASSERT_TRUE(setModificationTime(file, ahead)) << seconds;
        EXPECT_EQ(setting("ZELK_ROUTER", "k"), "1") << seconds;
        folder.writeSection("ZELK_ROUTER", {{"k", "2"}});
        ASSERT_TRUE(setModificationTime(file, ahead)) << seconds;
        EXPECT_EQ(setting("ZELK_ROUTER", "k"), "2") << seconds;
    }
}

// Test that an unreadable file reads as missing, with one diagnostic line, and
// is read as soon as it may be, though its stamp has not changed. (chmod does
// not make a file unreadable on Windows. The superuser's case is in
// settings_file_safety_test.cpp.)
#if !defined(_WIN32)
TEST_F(ObjectSetting, UnreadableFileIsReadOnceReadable) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    const std::string file = folder.path() + "/object_settings.xml";
    folder.writeSection("ZELK_ROUTER", {{"k", "v"}});
    ASSERT_TRUE(setModificationTime(file, {::time(nullptr) - 3600, 0}));
    ASSERT_EQ(::chmod(file.c_str(), 0), 0);
    CaptureStderr();
    EXPECT_EQ(setting("ZELK_ROUTER", "k"), "");
    EXPECT_EQ(setting("ZELK_ROUTER", "k"), "");
    EXPECT_EQ(GetCapturedStderr(), "vrel_config: " + file +
                                       " cannot be opened (Permission denied); its settings are "
                                       "ignored\n");
    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    EXPECT_EQ(setting("ZELK_ROUTER", "k"), "v");
}
#endif

// Test that the reader walks the entries of its section in document order.
TEST_F(ObjectSetting, EntriesInDocumentOrder) {
    folder.writeSection("ZELK_ROUTER", {{"c", "1"}, {"a", "2"}, {"b", "3"}, {"a", "4"}});
    vrel_config config("object_settings.ZELK_ROUTER");
    strings walked;
    while (config.isChildValid()) {
        walked.push_back(std::string(config.childAttr("id").c_str()) + "=" +
                         config.childAttr("value").c_str());
        config.nextChild();
    }
    EXPECT_EQ(walked, (strings{"c=1", "a=2", "b=3", "a=4"}));
    EXPECT_FALSE(config.nextChild()) << "stays past the end";
    EXPECT_FALSE(config.isChildValid());
}

// Test that an address names the file before its first dot and the section after it.
TEST_F(ObjectSetting, AddressNamesFileAndSection) {
    folder.write(R"(<settings><section id="a.b"><entry id="k" value="v"/></section></settings>)");
    EXPECT_TRUE(vrel_config("object_settings.a.b").isChildValid());
    EXPECT_FALSE(vrel_config("object_settings").isChildValid());
    EXPECT_FALSE(vrel_config(".a.b").isChildValid());
    EXPECT_FALSE(vrel_config("other_settings.a.b").isChildValid());
    EXPECT_FALSE(vrel_config("").isChildValid());
}

// Test that without VREL_CONFIG_DIR the current folder is searched.
TEST_F(ObjectSetting, CurrentFolderWhenUnset) {
    folder.writeSection("ZELK_ROUTER", {{"k", "here"}});
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(folder.path().c_str()), 0);
    ::unsetenv("VREL_CONFIG_DIR");
    const std::string value = setting("ZELK_ROUTER", "k");
    ::setenv("VREL_CONFIG_DIR", "", 1);
    const std::string emptyValue = setting("ZELK_ROUTER", "k");
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(value, "here");
    EXPECT_EQ(emptyValue, "here") << "an empty variable counts as unset";
}

} // namespace
