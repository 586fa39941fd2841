// Tries to register a chord for itself, as another program would: exit code 0
// when the system gives it, 1 when it is taken. Arguments: modifiers and virtual
// key as decimal numbers (RegisterHotKey's bits).
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  unsigned modifiers = 0, key = 0;
  if (swscanf(commandLine, L"%u %u", &modifiers, &key) != 2) return 2;
  if (!RegisterHotKey(nullptr, 1, modifiers, key)) return 1;
  UnregisterHotKey(nullptr, 1);
  return 0;
}
