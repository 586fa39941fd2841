// Program entry of the launcher.
#include <windows.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::fputs("Pexo: started\n", stdout);
  std::fflush(stdout);
  return 0;
}
