#include "check_command.h"

#include "settings_check.h"
#include "settings_rules.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace {

const char* const footer =
    R"(The rules come from the components: NAME.settings_rules.xml beside each
component library. Without --rules or --component, the settings are checked
against every rules file in the library folders (--lib-dir) whose section the
file has. Exit status: 0 no errors, 1 errors in the settings, 2 no usable
rules or the report could not be written.)";

std::string joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& text : texts) {
        all += (all.empty() ? "" : ", ") + text;
    }
    return all;
}

// The rules the request names. False with `error` when there are none.
bool chooseRules(const check_request& request, std::vector<settings_rules>& rules,
                 rules_choice& choice, std::string& error) {
    std::vector<std::string> files;
    choice = rules_choice::all;
    if (!request.rulesFile.empty()) {
        files.push_back(request.rulesFile);
    } else if (!request.component.empty()) {
        std::vector<std::string> tried;
        const std::string found =
            find_component_rules(request.component, request.libraryFolders, tried);
        if (found.empty()) {
            error = "no settings rules for component " + request.component + " (looked for " +
                    joined(tried) + ")";
            return false;
        }
        files.push_back(found);
    } else {
        choice = rules_choice::sectionsPresent;
        files = find_settings_rules(request.libraryFolders);
        if (files.empty()) {
            error = std::string("no settings rules (*") + settings_rules_suffix + ") in " +
                    joined(request.libraryFolders) +
                    "; name the folder of the component libraries with --lib-dir, or a rules "
                    "file with --rules";
            return false;
        }
    }
    for (const std::string& file : files) {
        settings_rules read;
        if (!read_settings_rules(file, read, error)) {
            return false;
        }
        rules.push_back(std::move(read));
    }
    return true;
}

} // namespace

check_exit run_settings_check(const check_request& request, std::ostream& out, std::ostream& err) {
    std::vector<settings_rules> rules;
    rules_choice choice = rules_choice::all;
    std::string error;
    if (!chooseRules(request, rules, choice, error)) {
        err << "vrel-devhost check: " << error << '\n';
        return check_unusable;
    }
    const settings_report report = check_settings_path(request.path, rules, choice);

    errno = 0;
    for (const std::string& line : report.lines()) {
        if (!(out << line << '\n')) {
            break;
        }
    }
    out << report.file << ": " << report.errors() << " error(s), " << report.warnings()
        << " warning(s)";
    if (!report.checked.empty()) {
        out << " (" << joined(report.checked) << ")";
    }
    out << '\n';
    out.flush();
    if (!out) {
        const int reason = errno;
        err << "vrel-devhost check: cannot write the report"
            << (reason != 0 ? std::string(" (") + std::strerror(reason) + ")" : std::string())
            << '\n';
        return check_unusable;
    }
    return report.errors() == 0 ? check_passed : check_failed;
}

check_command::check_command(CLI::App& app, const devhost_options& common)
    : command_(app.add_subcommand("check",
                                  "Report what a component would mis-handle in a settings file")),
      common_(common) {
    command_
        ->add_option("settings", request_.path,
                     "A settings folder, or the object_settings.xml in it")
        ->required()
        ->type_name("PATH");
    CLI::Option* rules =
        command_->add_option("--rules", request_.rulesFile, "Check against this rules file only")
            ->type_name("FILE");
    command_
        ->add_option("--component", request_.component,
                     std::string("Check against the rules of this component only (NAME") +
                         settings_rules_suffix + " in the library folders)")
        ->type_name("NAME")
        ->excludes(rules);
    // --lib-dir may follow "check" too.
    command_->fallthrough();
    command_->footer(footer);
}

int check_command::run() const {
    check_request request = request_;
    request.libraryFolders = common_.libraryFolders;
    return run_settings_check(request, std::cout, std::cerr);
}
