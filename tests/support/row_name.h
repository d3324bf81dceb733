// Names the rows of a parameterised test after what each row holds, so that
// ctest lists "Malformed/RefusesCommandText.SaysWhy/RR_07_1_16_3" rather than
// ".../3". The row's index ends the name and keeps it unique.
#ifndef VREL_TESTS_ROW_NAME_H
#define VREL_TESTS_ROW_NAME_H

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

// `text` as a test name: letters and digits kept, every other run of bytes
// one "_", at most 40 characters, then "_" and the index.
inline std::string row_name(const std::string& text, size_t index) {
    std::string name;
    for (const char c : text) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain) {
            name += c;
        } else if (c == '-' && name.empty()) {
            name += "minus";
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
        if (name.size() >= 40) {
            break;
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return (name.empty() ? std::string("empty") : name) + "_" + std::to_string(index);
}

inline std::string row_name(const char* text, size_t index) {
    return row_name(std::string(text != nullptr ? text : "null"), index);
}

inline std::string row_name(long long number, size_t index) {
    return row_name(std::to_string(number), index);
}

inline std::string row_name(int number, size_t index) {
    return row_name(static_cast<long long>(number), index);
}

// The name generator of a suite whose rows are named by one field.
template <typename Param, typename Field> auto rows_named_by(Field Param::*field) {
    return [field](const testing::TestParamInfo<Param>& row) {
        return row_name(row.param.*field, row.index);
    };
}

// The name generator of a suite whose rows are texts or numbers themselves.
struct rows_named_by_value {
    template <typename Param>
    std::string operator()(const testing::TestParamInfo<Param>& row) const {
        return row_name(row.param, row.index);
    }
};

#endif
