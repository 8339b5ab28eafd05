#pragma once
// Time marks through the program's start-up, for the start-up benchmark's
// breakdown. They cost nothing in the shipped program: only the benchmark's
// build of it (Kelvane_marks, made with -DKELVANE_STARTUP_MARKS=ON) records them.
// That build writes one line per mark to startup_marks.txt beside itself once
// the main window has painted: the mark's name and its performance-counter
// value, which the benchmark sets against the moment it started the process.
#ifdef KELVANE_STARTUP_MARKS
namespace kelvane::bench {
void startupMark(const char* name);
// Writes the marks recorded so far and forgets them.
void writeStartupMarks();
}  // namespace kelvane::bench
#define KELVANE_STARTUP_MARK(name) ::kelvane::bench::startupMark(name)
#define KELVANE_WRITE_STARTUP_MARKS() ::kelvane::bench::writeStartupMarks()
#else
#define KELVANE_STARTUP_MARK(name) ((void)0)
#define KELVANE_WRITE_STARTUP_MARKS() ((void)0)
#endif
