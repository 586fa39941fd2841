// The real mouse at a screen point, as a hand moves and clicks it: every event
// carries its point, as a real mouse's do.
#pragma once

#include <windows.h>

namespace real_mouse {

// One event of the real mouse at a screen point of the primary monitor: the
// cursor goes there and the buttons in `flags` act there, in one input. A real
// mouse's presses carry their point; a press without one takes wherever the
// cursor is when Wine queues it, and under Wine a program's own display driver
// moves the cursor too: a menu level mapped under the pointer reports the
// pointer's place at mapping time, and on a busy machine that report comes after
// a later SetCursorPos, so a press sent after SetCursorPos then lands on the
// level's corner or beside it.
inline void SendAt(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (width <= 0 || height <= 0) return;
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // Normalised so that (n * size) >> 16, the pixel both Windows and Wine take, is the point.
  input.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(screen.x) * 65536 + width - 1) / width);
  input.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(screen.y) * 65536 + height - 1) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

// A click of the real mouse at a screen point, each event carrying the point:
// the cursor arrives (hover effects and hooks see it), then the button goes down
// and up there. `settleMs` is the hand's pause after the click.
inline void Click(POINT screen, bool right = false, DWORD settleMs = 100) {
  SetCursorPos(screen.x, screen.y);
  SendAt(screen, 0);
  Sleep(40);
  SendAt(screen, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  Sleep(20);
  SendAt(screen, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  Sleep(settleMs);
}

}  // namespace real_mouse
