// What the page's actions become: scenario statements, written as the lines a
// scenario file would hold, so that a click and a scenario take the same path
// through the runner (and a saved session replays them).
#ifndef VREL_DEVHOST_PAGE_STATEMENTS_H
#define VREL_DEVHOST_PAGE_STATEMENTS_H

#include <cstdint>
#include <string>

namespace page_statement {

std::string press(const std::string& panel, const std::string& control);
std::string parent(const std::string& text);
// Another operator routes a crosspoint.
std::string route(int32_t device, int32_t source, int32_t destination);
std::string advance(int64_t ms);
// `which`: hold, delay, drop, off or release; `delayMs` only for delay.
std::string fault(const std::string& which, int32_t device, int64_t delayMs);
std::string load(const std::string& library);
std::string unload();

} // namespace page_statement

#endif
