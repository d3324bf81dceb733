// The host's one reader of a settings file: sections and elements with their
// lines as written, the first of each as a component reads it, and a file
// that is not XML named with its line.
#include "settings_document.h"

#include <gtest/gtest.h>

#include <iterator>
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

// Test that a written document reads back as it was: every section and
// element in order, values with quotes, markup, blanks, control bytes and
// bytes that are not UTF-8 unchanged, and an element without a value still
// without one.
TEST(SettingsDocument, ItsTextReadsBackAsItWas) {
    const std::string values[] = {"",
                                  "plain",
                                  "\"quoted\" & <tagged> 'single'",
                                  "  blanks at both ends  ",
                                  "line\nend\ttab\rreturn",
                                  std::string("\x01\x02\x1b\x7f", 4),
                                  "\xff\xfe\xc3(",
                                  std::string(100000, '9')};
    settings_document written;
    written.hasRoot = true;
    written.sections.push_back({"FIRST", 0, {}});
    for (const std::string& value : values) {
        settings_element entry;
        entry.name = "entry";
        entry.hasId = entry.hasValue = true;
        entry.id = "k" + std::to_string(written.sections[0].elements.size());
        entry.value = value;
        written.sections[0].elements.push_back(entry);
    }
    settings_element note;
    note.name = "note";
    note.hasId = true;
    note.id = "no value";
    written.sections.push_back({"SECOND", 0, {note}});

    settings_document read;
    settings_xml_error error;
    ASSERT_TRUE(parse_settings_document(settings_document_text(written), read, error))
        << error.description;
    ASSERT_EQ(read.sections.size(), 2u);
    EXPECT_EQ(read.sections[0].id, "FIRST");
    ASSERT_EQ(read.sections[0].elements.size(), std::size(values));
    for (size_t i = 0; i < std::size(values); ++i) {
        const settings_element& element = read.sections[0].elements[i];
        EXPECT_EQ(element.id, "k" + std::to_string(i));
        EXPECT_EQ(element.value, values[i]) << "value " << i;
    }
    ASSERT_EQ(read.sections[1].elements.size(), 1u);
    EXPECT_EQ(read.sections[1].elements[0].name, "note");
    EXPECT_EQ(read.sections[1].elements[0].id, "no value");
    EXPECT_FALSE(read.sections[1].elements[0].hasValue);
}

} // namespace
