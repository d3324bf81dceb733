// The host's one reader of a settings file: sections and elements with their
// lines as written, the first of each as a component reads it, and a file
// that is not XML named with its line.
#include "settings_document.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const twoSections = R"(<?xml version="1.0"?>
<settings>
  <section id="A">
    <entry id="x" value="1"/>
    <entry id="x" value="2"/>
    <note/>
    <entry value="no id"/>
  </section>
  <section id="A">
    <entry id="x" value="3"/>
  </section>
</settings>
)";

TEST(SettingsDocument, KeepsSectionsAndElementsWithTheirLines) {
    settings_document document;
    settings_xml_error error;
    ASSERT_TRUE(parse_settings_document(twoSections, document, error));
    EXPECT_TRUE(document.hasRoot);
    EXPECT_EQ(document.rootLine, 2);
    ASSERT_EQ(document.sections.size(), 2u);
    const settings_section* first = document.section("A");
    ASSERT_EQ(first, &document.sections[0]);
    EXPECT_EQ(first->line, 3);
    ASSERT_EQ(first->elements.size(), 4u);
    EXPECT_EQ(first->elements[1].line, 5);
    EXPECT_EQ(first->elements[2].name, "note");
    EXPECT_FALSE(first->elements[3].hasId);
    // The first entry of each id, as the component reads it.
    EXPECT_EQ(first_values(*first), (std::map<std::string, std::string>{{"x", "1"}}));
    EXPECT_EQ(document.section("B"), nullptr);
}

TEST(SettingsDocument, AFileThatIsNotXmlIsNamedWithItsLine) {
    settings_document document;
    settings_xml_error error;
    EXPECT_FALSE(parse_settings_document("<settings>\n  <section id=\"A\">\n</settings>\n",
                                         document, error));
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(error.description.find("</settings> does not close"), std::string::npos)
        << error.description;
}

TEST(SettingsDocument, WithoutASettingsElementItHoldsNoSection) {
    settings_document document;
    settings_xml_error error;
    ASSERT_TRUE(parse_settings_document("<other/>", document, error));
    EXPECT_FALSE(document.hasRoot);
    EXPECT_TRUE(document.sections.empty());
}

} // namespace
