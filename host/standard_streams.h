// The three standard streams of a tool, made safe before it opens anything.
// A stream the caller closed (`vrel-devhost ... >&-`) leaves its number free,
// and the next file the tool opened would take it and receive what was meant
// for the terminal: a temporary file would hold the log, and the run would
// seem to pass.
#ifndef VREL_HOST_STANDARD_STREAMS_H
#define VREL_HOST_STANDARD_STREAMS_H

// Opens each closed standard stream on the null device, so that its number is
// taken. False when standard output was closed: a tool whose output is its
// result must then say so (on standard error) and fail.
bool hold_standard_streams();

#endif
