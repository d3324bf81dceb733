// Seeded random notifications of every kind: route statuses with any device,
// index and value; parent commands from the component's own words and the
// family's, with numbers, extremes and junk; button records for the controls
// of its panel; timer ids; types 6 and 7; unknown types; type 5 with null.
// The sequence depends only on the seed, the level and the component's
// profile.
#ifndef VREL_VALIDATOR_NOTIFICATION_MIX_H
#define VREL_VALIDATOR_NOTIFICATION_MIX_H

#include "component_driver.h"
#include "component_profile.h"
#include "host_records.h"
#include "random_source.h"

#include <cstdint>
#include <string>
#include <vector>

// The texts a mix picks from, made from a profile: the component's words
// among the family's, each list with a few near misses (another case, an
// empty text) that a component must not take for its own.
struct mix_vocabulary {
    std::vector<std::string> words;       // parent command words
    std::vector<std::string> panels;      // panel numbers of button records
    std::vector<std::string> controls;    // control ids of button records
    std::vector<std::string> buttonWords; // words of a button's own command
};

mix_vocabulary vocabulary_of(const component_profile& profile);

class notification_mix {
public:
    notification_mix(uint64_t seed, int level, const component_profile& profile);

    // Sends one notification, and now and then releases held replies.
    void sendNext(component_driver& driver);

    // The parent command text the mix would send next (for tests of the mix).
    std::string parentText();

private:
    int32_t someDevice();
    int32_t someNumber();
    std::string someValue();
    std::string someJunk(size_t longest, bool anyByte);
    void sendButton(component_driver& driver);

    const std::string& pick(const std::vector<std::string>& items);

    random_source random_;
    int level_;
    size_t mostHeld_;
    std::vector<int32_t> devices_;
    mix_vocabulary vocabulary_;
    std::string text_;
    button_notification button_;
    unsigned char record_[256] = {};
};

#endif
