#include "run_command.h"

#include "output_file.h"

#include <pugixml.hpp>

#include <fstream>
#include <iostream>

run_command::run_command(CLI::App& app, devhost_options& common) : common_(common) {
    app.add_option("scenario", scenarios_, "Scenario files to run, in order")->type_name("FILE");
    app.add_option("--junit", junitFile_, "Also write a JUnit XML report of the scenario runs")
        ->type_name("FILE");
}

int run_command::run() {
    std::ostream* log = nullptr;
    std::string error;
    if (!common_.openLog(log, error)) {
        std::cerr << "vrel-devhost: " << error << '\n';
        return scenario_unusable;
    }
    runner_options options;
    options.libraryFolders = common_.libraryFolders;
    // Until the run ends the report says it did not: a component that ends
    // the process must not leave an older report that passed in its place.
    if (!junitFile_.empty()) {
        scenario_result unfinished;
        unfinished.failure = "the run did not finish";
        const std::vector<scenario_result> none(scenarios_.size(), unfinished);
        if (!write_junit_report(junitFile_, scenarios_, none, error)) {
            std::cerr << "vrel-devhost: " << error << '\n';
            return scenario_unusable;
        }
    }
    std::vector<scenario_result> results;
    int status = scenario_passed;
    for (const std::string& scenario : scenarios_) {
        results.push_back(run_scenario_file(scenario, options, log, std::cout, std::cerr));
        if (results.back().exit > status) {
            status = results.back().exit;
        }
    }
    if (scenarios_.size() > 1) {
        int passed = 0;
        int failed = 0;
        int unusable = 0;
        for (const scenario_result& result : results) {
            passed += result.exit == scenario_passed ? 1 : 0;
            failed += result.exit == scenario_failed ? 1 : 0;
            unusable += result.exit == scenario_unusable ? 1 : 0;
        }
        std::cout << "\nscenarios: " << passed << " passed, " << failed + unusable << " failed";
        if (unusable > 0) {
            std::cout << " (" << unusable << " could not be run)";
        }
        std::cout << '\n';
    }
    if (!junitFile_.empty() && !write_junit_report(junitFile_, scenarios_, results, error)) {
        std::cerr << "vrel-devhost: " << error << '\n';
        status = scenario_unusable;
    }
    // A log or a summary that could not be written is a failed run, not a
    // silent pass.
    if (log != nullptr && !log->flush()) {
        std::cerr << "vrel-devhost: the traffic log could not be written"
                  << (common_.logFile.empty() ? std::string(" to standard output")
                                              : " to " + common_.logFile)
                  << '\n';
        status = scenario_unusable;
    }
    if (!std::cout.flush()) {
        std::cerr << "vrel-devhost: standard output could not be written\n";
        status = scenario_unusable;
    }
    return status;
}

bool write_junit_report(const std::string& file, const std::vector<std::string>& scenarios,
                        const std::vector<scenario_result>& results, std::string& error) {
    pugi::xml_document document;
    pugi::xml_node suite = document.append_child("testsuite");
    int failures = 0;
    int errors = 0;
    double seconds = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        const scenario_result& result = results[i];
        pugi::xml_node test = suite.append_child("testcase");
        test.append_attribute("classname") = "scenario";
        test.append_attribute("name") = scenarios[i].c_str();
        test.append_attribute("time") = result.seconds;
        seconds += result.seconds;
        if (result.exit == scenario_failed) {
            ++failures;
            pugi::xml_node failure = test.append_child("failure");
            failure.append_attribute("message") = result.failure.c_str();
            failure.text() = result.failure.c_str();
        } else if (result.exit == scenario_unusable) {
            ++errors;
            pugi::xml_node fault = test.append_child("error");
            fault.append_attribute("message") = result.failure.c_str();
            fault.text() = result.failure.c_str();
        }
    }
    suite.prepend_attribute("time") = seconds;
    suite.prepend_attribute("errors") = errors;
    suite.prepend_attribute("failures") = failures;
    suite.prepend_attribute("tests") = static_cast<unsigned>(results.size());
    suite.prepend_attribute("name") = "vrel-devhost scenarios";
    output_file_probe probe;
    const std::string problem = probe.check(file);
    if (!problem.empty()) {
        error = "cannot write the JUnit report " + problem;
        return false;
    }
    std::ofstream out(file, std::ios::binary);
    document.save(out, "  ");
    if (!out.flush()) {
        error = "cannot write the JUnit report " + file;
        return false;
    }
    return true;
}
