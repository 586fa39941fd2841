// Linked into every test program (pexo_tests in cmake/PexoTargets.cmake); runs
// before the program's other static objects are made.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct ProgramStart {
  ProgramStart() {
    // stdout is a file under scripts/wine-test.sh, so the C runtime buffers it
    // fully. GoogleTest flushes its own lines, but "Running main()" and whatever a
    // case prints itself would wait in the buffer and be lost with a process that
    // ends without the runtime's exit (a crash, a kill, an ExitProcess).
    setvbuf(stdout, nullptr, _IONBF, 0);
    // wine-test.sh names a file here: that it exists afterwards shows the
    // program's own code ran, so a run that ended without it was ended by Wine
    // while it started the process.
    if (const char* started = std::getenv("PEXO_TEST_STARTED_FILE")) {
      HANDLE file = CreateFileA(started, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
};

// Before the other static objects, which may already print or crash.
ProgramStart start __attribute__((init_priority(101)));

}  // namespace
