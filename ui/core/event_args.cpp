#include "ui/core/event_args.h"

namespace ui {

bool RunEventCallbacks(const EventCallbackList& callbacks, EventArgs* args) {
  // Iterate over a copy: a callback may attach further listeners to the same
  // list, which would invalidate iterators into it.
  const EventCallbackList snapshot = callbacks;
  for (const EventCallback& callback : snapshot) {
    if (callback && !callback(args)) return false;
  }
  return true;
}

EventType EventTypeFromName(const std::wstring& name) {
  static const std::map<std::wstring, EventType> kNames = {
      {L"all", all},
      {L"keydown", keydown},
      {L"keyup", keyup},
      {L"char", char_},
      {L"syskey", syskey},
      {L"mousemove", mousemove},
      {L"mouseenter", mouseenter},
      {L"mouseleave", mouseleave},
      {L"mousehover", mousehover},
      {L"buttondown", buttondown},
      {L"buttonup", buttonup},
      {L"rbuttondown", rbuttondown},
      {L"doubleclick", doubleclick},
      {L"menu", menu},
      {L"scrollwheel", scrollwheel},
      {L"setfocus", setfocus},
      {L"killfocus", killfocus},
      {L"windowclose", windowclose},
      {L"setcursor", setcursor},
      {L"select", select},
      {L"unselect", unselect},
      {L"expand", expand},
      {L"unexpand", unexpand},
      {L"return", return_},
      {L"tab", tab},
      {L"scrollchange", scrollchange},
      {L"valuechange", valuechange},
  };
  auto it = kNames.find(name);
  return it == kNames.end() ? none : it->second;
}

}  // namespace ui
