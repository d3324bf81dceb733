// Seeded random notifications of every kind: route statuses with any device,
// index and value; parent commands from the family's words with numbers,
// extremes and junk; button records; timer ids; types 6 and 7; unknown types;
// type 5 with null. The sequence depends only on the seed, the level and the
// devices the component registered.
#ifndef VREL_VALIDATOR_NOTIFICATION_MIX_H
#define VREL_VALIDATOR_NOTIFICATION_MIX_H

#include "component_driver.h"
#include "host_records.h"
#include "random_source.h"

#include <cstdint>
#include <string>
#include <vector>

class notification_mix {
public:
    notification_mix(uint64_t seed, int level, std::vector<int32_t> devices);

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

    random_source random_;
    int level_;
    size_t mostHeld_;
    std::vector<int32_t> devices_;
    std::string text_;
    button_notification button_;
    unsigned char record_[256] = {};
};

#endif
