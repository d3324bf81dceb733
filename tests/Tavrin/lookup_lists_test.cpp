// Lookups in mapping lists whose elements are not all plain numbers: a
// number is found only at an element that is exactly its decimal text, and at
// the first such element. "03", "+3", " 3", "3 " and "-0" are no number's text.
#include "tavrin_harness.h"

namespace {

struct list_case {
    const char* name;
    const char* list;    // the mapping list's setting
    const char* command; // the selection
    // Destinations: the cue source found, -1 for none. Sources: the cue
    // destination found, -1 for none.
    int found;
};

void PrintTo(const list_case& c, std::ostream* out) {
    *out << c.name;
}

// Starts a component on the small facility's settings with some replaced.
class TavrinLookupLists : public TavrinTest, public ::testing::WithParamInterface<list_case> {
protected:
    void startWith(const settings_entries& changes) {
        settings_entries entries = facilitySettings();
        for (auto& entry : entries) {
            for (const auto& change : changes) {
                if (entry.first == change.first) {
                    entry.second = change.second;
                }
            }
        }
        writeSettings(entries);
        create();
        sent();
    }
};

class DestinationLists : public TavrinLookupLists {};

// Cue sources 11 to 16 stand at positions 0 to 5, so the cue source in the
// status write tells where in "musicdestinations" the destination was found.
TEST_P(DestinationLists, FindTheFirstExactDecimalText) {
    startWith({{"cuesources", "11,12,13,14,15,16"}, {"musicdestinations", GetParam().list}});
    EXPECT_EQ(parent(GetParam().command), std::nullopt);
    sent();
    EXPECT_EQ(take(), cueOffDiagnostic);
    EXPECT_EQ(sent(), takeOf({"IW 9 'grey' " + std::to_string(GetParam().found) + " 1",
                              "RC 7 20 -1 ',' 1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DestinationLists,
    ::testing::Values(
        list_case{"Plain", "3,4,5", "Destination=4", 12},
        list_case{"FirstOfDuplicates", "4,3,3", "Destination=3", 12},
        list_case{"LeadingZeroIsNotTheNumber", "03,3", "Destination=3", 12},
        list_case{"SignsAndSpacesAreNotTheNumber", "+3, 3,3 ,3", "Destination=3", 14},
        list_case{"OnlyOddTexts", "03,+3, 3,3 ", "Destination=3", -1},
        list_case{"NegativeZeroIsNotZero", "-0,0", "Destination=0", 12},
        list_case{"Negative", "3,-3", "Destination=-3", 12},
        list_case{"LargestNumber", "-2147483648,2147483647", "Destination=2147483647", 12},
        list_case{"SmallestNumber", "2147483647,-2147483648", "Destination=-2147483648", 12},
        // The selection's value is read as a number first: past the range it
        // is the largest number, which is not the element's text.
        list_case{"PastTheRange", "2147483648,2147483647", "Destination=2147483648", 12},
        list_case{"SelectionWithLeadingZero", "4,3", "Destination=03", 12},
        list_case{"EmptyElement", ",3", "Destination=3", 12},
        list_case{"EmptySelectionIsZero", ",0", "Destination=", 12},
        list_case{"NotListed", "3,4,5", "Destination=27", -1},
        list_case{"EmptyList", "", "Destination=0", -1},
        // Found at a position the cue source list lacks.
        list_case{"BeyondTheCueSources", "0,1,2,3,4,5,6", "Destination=6", -1}),
    case_name());

class SourceLists : public TavrinLookupLists {};

// Destination 3 produces cue source 11 and nothing is routed yet, so a cue
// take routes 11 to the source's cue destination if the source is found.
TEST_P(SourceLists, FindTheFirstExactDecimalText) {
    startWith({{"cuedestinations", GetParam().list}});
    EXPECT_EQ(parent("Destination=3"), std::nullopt);
    EXPECT_EQ(parent(GetParam().command), std::nullopt);
    pressCue();
    sent();
    EXPECT_EQ(take(), "");
    if (GetParam().found < 0) {
        EXPECT_EQ(sent(), takeOf({"IW 9 'grey' 11 1", sourceCannotReceive, "RC 7 20 -1 ',' 1"}));
    } else {
        EXPECT_EQ(sent(), takeOf({"RC 7 20 -1 ',' 1",
                                  "RC 7 11 " + std::to_string(GetParam().found) + " ',' 1",
                                  "IW 9 'green' 11 1"}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SourceLists,
                         ::testing::Values(list_case{"Plain", "1,2,3", "Source=2", 2},
                                           list_case{"Duplicates", "16,2,2", "Source=2", 2},
                                           list_case{"OnlyOddTexts", "01,+1, 1,1 ", "Source=1", -1},
                                           list_case{"OddTextsThenTheNumber", "01,+1,1", "Source=1",
                                                     1},
                                           list_case{"NegativeZeroIsNotZero", "-0", "Source=0", -1},
                                           list_case{"Zero", "-0,0", "Source=0", 0},
                                           list_case{"OutsideTheTable", "17,-1", "Source=17", -1},
                                           list_case{"NotListed", "1,2,3", "Source=4", -1}),
                         case_name());

} // namespace
