#include "bench/StartupMarks.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace kelvane::bench {
namespace {

struct Mark {
  const char* name;
  LONGLONG counter;
};

// A fixed table: recording a mark must not allocate or it would time itself.
struct Marks {
  Mark marks[64];
  int count = 0;
};

Marks& recorded() {
  static Marks marks;
  return marks;
}

}  // namespace

void startupMark(const char* name) {
  Marks& marks = recorded();
  if (marks.count >= 64) return;
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  marks.marks[marks.count++] = {name, counter.QuadPart};
}

void writeStartupMarks() {
  Marks& marks = recorded();
  wchar_t exe[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring path(exe, length);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"startup_marks.txt";
  if (FILE* file = _wfopen(path.c_str(), L"w")) {
    for (int i = 0; i < marks.count; ++i) std::fprintf(file, "%s %lld\n", marks.marks[i].name, marks.marks[i].counter);
    std::fclose(file);
  }
  marks.count = 0;
}

}  // namespace kelvane::bench
