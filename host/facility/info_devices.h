// Info devices: numbered slots of text per device, written with "IW".
#ifndef VREL_HOST_INFO_DEVICES_H
#define VREL_HOST_INFO_DEVICES_H

#include <cstdint>
#include <map>
#include <string>

class info_devices {
public:
    void write(int32_t device, int32_t index, const std::string& text) {
        slots_[device][index] = text;
    }
    // False when the slot was never written.
    bool read(int32_t device, int32_t index, std::string& text) const {
        const auto d = slots_.find(device);
        if (d == slots_.end()) {
            return false;
        }
        const auto s = d->second.find(index);
        if (s == d->second.end()) {
            return false;
        }
        text = s->second;
        return true;
    }
    const std::map<int32_t, std::map<int32_t, std::string>>& all() const { return slots_; }

private:
    std::map<int32_t, std::map<int32_t, std::string>> slots_;
};

#endif
