// The facility process: the emulated host with the component inside it, run
// as a child of the development server so that a component that crashes or
// hangs takes only this process with it.
//
// It reads requests, one JSON object a line, from standard input and runs
// them one at a time on its only thread, the host's thread. Everything it has
// to tell goes out on descriptor 3 as lines of JSON: each change of the
// facility's feed as it happens (the traffic log's lines among them), a
// snapshot of the state after each request that changed something, and the
// answer to each request.
//
// Requests ({"id": n, "op": ...}):
//   setup    {"libDirs": [...], "base": folder, "settings": folder,
//             "scenario": file, "load": library}: the session's start
//   run      {"lines": [...]}: scenario statements, run in order until one fails
//   reload   unload the component, then load the same library again
//   realtime {"on": bool}: the virtual clock follows the wall clock
//   session  {"file": path}: the session so far as a scenario
//   state    a snapshot now
// Answers: {"type": "done", "id": n, "ok": bool, "failure": text, ...}.
#ifndef VREL_DEVHOST_FACILITY_CHILD_H
#define VREL_DEVHOST_FACILITY_CHILD_H

// Runs until standard input ends; the exit status.
int run_facility_child();

// The descriptor the facility process writes its events to.
constexpr int facility_event_descriptor = 3;

#endif
