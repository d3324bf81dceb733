#include "settings_check.h"

#include "finding_text.h"
#include "report_builder.h"
#include "section_checker.h"
#include "settings_environment.h"
#include "text_file.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

#include <algorithm>
#include <string_view>

namespace fs = std::filesystem;

namespace {

// Sections of the file named when none is one a known component reads.
constexpr size_t sectionsNamed = 10;

} // namespace

settings_report check_settings_text(const std::string& file, const std::string& content,
                                    const std::vector<settings_rules>& rules, rules_choice choice) {
    settings_report report;
    report.file = file;
    report_builder out(report);

    settings_document document;
    settings_xml_error xmlError;
    if (!parse_settings_document(content, document, xmlError)) {
        out.add(true, xmlError.line, "xml",
                "not well-formed XML (" + xmlError.description +
                    "); the component ignores the whole file and every setting reads as empty");
        return report;
    }
    if (!document.hasRoot) {
        out.add(true, 1, "no settings",
                "no <settings> element; the component finds no section and every setting "
                "reads as empty");
        return report;
    }

    // The file's sections in order, each id once.
    std::vector<std::string> order;
    for (const settings_section& section : document.sections) {
        if (document.section(section.id) == &section) {
            order.push_back(section.id);
        }
    }

    std::vector<const settings_rules*> chosen;
    for (const settings_rules& r : rules) {
        if (choice == rules_choice::all || document.section(r.section) != nullptr) {
            chosen.push_back(&r);
        }
    }
    if (chosen.empty() && choice == rules_choice::sectionsPresent) {
        std::string known;
        for (const settings_rules& r : rules) {
            known += (known.empty() ? "" : ", ") + r.section + " (" + r.component + ")";
        }
        std::string present;
        for (size_t i = 0; i < order.size() && i < sectionsNamed; ++i) {
            present += (present.empty() ? "" : ", ") + shown(order[i]);
        }
        if (order.size() > sectionsNamed) {
            present += " and " + std::to_string(order.size() - sectionsNamed) + " more";
        }
        out.add(true, document.rootLine, "no known section",
                "no section that a known component reads: they read " + known +
                    (order.empty() ? "; the file has no section"
                                   : "; the file's sections are " + present));
    }

    for (const settings_rules* r : chosen) {
        const settings_section* found = document.section(r->section);
        if (found == nullptr) {
            out.add(true, 1, r->section + "\nno section",
                    "no section " + r->section + ", which " + r->component +
                        " reads; every setting of the component reads as empty");
            continue;
        }
        report.checked.push_back("section " + r->section + " with " + r->component + "'s rules");
        const int firstLine = found->line;
        for (const settings_section& section : document.sections) {
            if (&section != found && r->section == section.id) {
                out.add(false, section.line, r->section + "\nagain",
                        "section " + r->section +
                            " is given again; the component reads only the first one (line " +
                            std::to_string(firstLine) + ")");
            }
        }
        section_checker(*r, out).check(*found);
    }

    std::stable_sort(
        report.findings.begin(), report.findings.end(),
        [](const settings_finding& a, const settings_finding& b) { return a.line < b.line; });
    return report;
}

settings_report check_settings_path(const std::string& path,
                                    const std::vector<settings_rules>& rules, rules_choice choice) {
    const std::string file = settings_file_of(path);
    settings_report report;
    report.file = file;
    // A file the check will not read may still be one the component reads:
    // what is said of it is what the component does.
    std::error_code sizeError;
    const uintmax_t size = regular_file_problem(file).empty() ? fs::file_size(file, sizeError) : 0;
    if (!sizeError && size > component_settings_limit) {
        report.findings.push_back(settings_finding{
            true, 0,
            "'" + file + "': larger than " + std::to_string(component_settings_limit >> 20) +
                " MiB; the component reads it as a missing file and every setting as empty",
            0, 0});
        return report;
    }
    if (!sizeError && size > default_text_file_limit) {
        report.findings.push_back(settings_finding{
            false, 0,
            "'" + file + "': larger than " + std::to_string(default_text_file_limit >> 20) +
                " MiB, more than the check reads, so nothing in it was checked; the component "
                "reads settings files up to " +
                std::to_string(component_settings_limit >> 20) + " MiB and uses this one",
            0, 0});
        return report;
    }
    std::string content;
    std::string error;
    if (!read_text_file(file, content, error)) {
        report.findings.push_back(settings_finding{
            true, 0, error + "; the component would read every setting as empty", 0, 0});
        return report;
    }
    return check_settings_text(file, content, rules, choice);
}
