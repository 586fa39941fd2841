// Event numbers, the event record handed to controls, and listener lists.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace ui {

class Control;

// Event numbers. Members with an XML name in the skin carry that name; the
// enumeration is unscoped so both EventType::click and ui::click read naturally.
enum EventType : int32_t {
  internaldblclick = 0,
  internalmenu = 1,
  internalsetfocus = 2,
  internalkillfocus = 3,
  none = 4,
  all = 6,
  keydown = 8,
  keyup = 9,
  char_ = 10,
  syskey = 11,
  mousemove = 14,
  mouseenter = 15,
  mouseleave = 16,
  mousehover = 17,
  buttondown = 18,
  buttonup = 19,
  rbuttondown = 20,
  rbuttonup = 21,
  doubleclick = 22,
  menu = 23,
  scrollwheel = 24,
  touchdown = 27,
  touchmove = 28,
  touchup = 29,
  pointerdown = 32,
  pointermove = 33,
  pointerup = 34,
  setfocus = 36,
  killfocus = 37,
  windowsize = 38,
  windowclose = 39,
  setcursor = 40,
  click = 41,
  select = 42,
  unselect = 43,
  expand = 44,
  unexpand = 45,
  textchange = 46,
  return_ = 47,
  tab = 48,
  link = 49,
  imestart = 50,
  imeend = 51,
  scrollchange = 52,
  valuechange = 53,
  resize = 54,
  reorder = 55,  // a dragged card dropped on another: wParam source index, lParam target index
  visiblechange = 56,
  destroy = 57,
  hotkeydown = 58,
  hotkeyup = 59,
  xbuttondown = 60,  // a mouse side button (X1 or X2) pressed, for hot-key edits
  xbuttonup = 61,
};

// One event as controls receive it. The sender stays the control the event is
// about while the record bubbles up to the parents.
struct EventArgs {
  EventType Type = none;
  Control* pSender = nullptr;
  uint32_t dwTimestamp = 0;
  POINT ptMouse = {0, 0};
  wchar_t chKey = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  float pressure = 0.0f;
};

// A listener answers true to let the dispatch go on, false to stop it.
using EventCallback = std::function<bool(EventArgs*)>;
using EventCallbackList = std::vector<EventCallback>;
// Ordered map from event type to its listeners; operator[] creates an empty list.
using EventListenerMap = std::map<EventType, EventCallbackList>;

// Calls the callbacks in order; the first false ends the run with false. An empty
// list, or one that runs to its end, gives true.
bool RunEventCallbacks(const EventCallbackList& callbacks, EventArgs* args);

// The event type of a skin event name ("buttondown", "select" ...); exact,
// case-sensitive match; any other name gives none (4).
EventType EventTypeFromName(const std::wstring& name);

}  // namespace ui
