#include "component_name.h"

#include <algorithm>
#include <iterator>

namespace {

// The keywords and alternative tokens of C++17, and the ones C++20 adds, so
// that the generated class still compiles under a later standard.
const char* const keywords[] = {"alignas",       "alignof",     "and",
                                "and_eq",        "asm",         "auto",
                                "bitand",        "bitor",       "bool",
                                "break",         "case",        "catch",
                                "char",          "char8_t",     "char16_t",
                                "char32_t",      "class",       "compl",
                                "concept",       "const",       "consteval",
                                "constexpr",     "constinit",   "const_cast",
                                "continue",      "co_await",    "co_return",
                                "co_yield",      "decltype",    "default",
                                "delete",        "do",          "double",
                                "dynamic_cast",  "else",        "enum",
                                "explicit",      "export",      "extern",
                                "false",         "float",       "for",
                                "friend",        "goto",        "if",
                                "inline",        "int",         "long",
                                "mutable",       "namespace",   "new",
                                "noexcept",      "not",         "not_eq",
                                "nullptr",       "operator",    "or",
                                "or_eq",         "private",     "protected",
                                "public",        "register",    "reinterpret_cast",
                                "requires",      "return",      "short",
                                "signed",        "sizeof",      "static",
                                "static_assert", "static_cast", "struct",
                                "switch",        "template",    "this",
                                "thread_local",  "throw",       "true",
                                "try",           "typedef",     "typeid",
                                "typename",      "union",       "unsigned",
                                "using",         "virtual",     "void",
                                "volatile",      "wchar_t",     "while",
                                "xor",           "xor_eq"};

// Classes and records of the boundary and the frame a component sees.
const char* const frameNames[] = {"client_host", "notify_ref", "command_record", "button_record",
                                  "route_status_record"};

// Targets CMake makes itself, or refuses as names.
const char* const cmakeNames[] = {"all",
                                  "clean",
                                  "help",
                                  "install",
                                  "package",
                                  "package_source",
                                  "test",
                                  "edit_cache",
                                  "rebuild_cache",
                                  "preinstall",
                                  "list_install_components",
                                  "ALL_BUILD",
                                  "ZERO_CHECK",
                                  "RUN_TESTS",
                                  "INSTALL",
                                  "PACKAGE"};

template <size_t count> bool isOneOf(const std::string& name, const char* const (&names)[count]) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// ASCII only, whatever the locale says of other bytes.
bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentifierPart(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9');
}

} // namespace

std::string component_name_problem(const std::string& name) {
    if (name.empty()) {
        return "a component needs a name";
    }
    const std::string quoted = "'" + name + "'";
    if (!isIdentifierStart(name[0]) || !std::all_of(name.begin(), name.end(), isIdentifierPart)) {
        return quoted + " is not a C++ identifier: use letters, digits and '_', and do not "
                        "start with a digit";
    }
    if (isOneOf(name, keywords)) {
        return quoted + " is a C++ keyword";
    }
    // The class is declared in the global namespace.
    if (name[0] == '_' || name.find("__") != std::string::npos) {
        return quoted + " is reserved for the compiler (a name beginning with '_', or "
                        "holding '__')";
    }
    if (name.compare(0, 5, "vrel_") == 0 || isOneOf(name, frameNames)) {
        return quoted + " is a name of the frame (names beginning vrel_, and client_host, "
                        "notify_ref and the records)";
    }
    if (isOneOf(name, cmakeNames)) {
        return quoted + " is a target name CMake keeps for itself";
    }
    return std::string();
}

std::string settings_section_of(const std::string& name) {
    std::string section = name;
    for (char& c : section) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return section;
}
