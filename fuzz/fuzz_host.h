// The host the component fuzzers drive a component with: the validator's
// checking host, which stops the run (so that the fuzzer keeps the input)
// as soon as the component breaks the protocol.
#ifndef VREL_FUZZ_FUZZ_HOST_H
#define VREL_FUZZ_FUZZ_HOST_H

#include "checking_host.h"
#include "component_driver.h"
#include "component_factory.h"
#include "report.h"

#include <cstdio>
#include <cstdlib>

// Aborts with the first failure messages when `out` has any.
inline void stopOnFailure(const report& out) {
    if (out.failures() == 0) {
        return;
    }
    for (const std::string& message : out.messages()) {
        std::fprintf(stderr, "protocol fault: %s\n", message.c_str());
    }
    std::abort();
}

#endif
