// The random drive's actions: groups made, renamed, moved and deleted from the
// group strip's menus, and note tags: typed into, pasted into, copied within,
// left and come back to, and kept across restarts. A note reaches link.db when it
// is left (another tag or group, the window hidden, the editor losing the keys,
// Ctrl+S, a close): each note action ends the way a user leaves it and link.db
// must then hold the text.
#pragma once

#include <cstdlib>

#include "tests/app/end_to_end/random_drive_basics.h"
#include "tests/support/editor_line_ends.h"

namespace drive {

constexpr int kAllLinksTag = 1;

// Where things are in the group strip and the note editor (client coordinates).
constexpr POINT kStripSpace = {345, 62};     // right of the fourth group
constexpr POINT kNoteInside = {230, 300};    // in the note editor beside the tag column
constexpr size_t kLongestDoubledNote = 12000;

// An action whose change must reach link.db once it is done. Unlike Mutate it is
// never done twice: typing into a note takes no menu that could be lost, and a
// second try would hide a note that was lost.
inline bool Settle(RandomDrive& d, const std::function<bool(std::string*)>& act, const std::function<void()>& apply,
                   std::string* failure) {
  apply();
  if (!act(failure)) return false;
  if (pexo_test::WaitUntil([&] { return d.StoreMatches(); }, 5000)) return true;
  d.StoreMatches(failure);
  wchar_t front[64] = L"none";
  if (HWND window = GetForegroundWindow()) GetClassNameW(window, front, 64);
  *failure += " (in front: " + Utf8(front) + ")";
  return false;
}

// --- Notes ---------------------------------------------------------------------

using pexo_test::EditorForm;

inline std::wstring ClipboardForm(const std::wstring& note) {
  std::wstring form;
  for (wchar_t ch : note) form += ch == L'\r' ? std::wstring(L"\r\n") : std::wstring(1, ch);
  return form;
}

// Words for a note: Latin and Chinese, now and then a line end ("\r" is Enter).
inline std::wstring NoteWords(RandomDrive& d, size_t words) {
  static const wchar_t* const kWords[] = {L"note", L"便签", L"text ", L"行", L"abc", L"记事", L" ", L"42"};
  std::wstring text;
  for (size_t i = 0; i < words; ++i) {
    text += kWords[d.Pick(std::size(kWords))];
    if (d.Pick(5) == 0) text += L'\r';
  }
  return text;
}

// A text as another program copies it: lines ending with CR LF, now and then
// thousands of characters.
inline std::wstring PastedText(RandomDrive& d) {
  const bool longOne = d.Pick(4) == 0;
  const size_t lines = longOne ? 40 + d.Pick(60) : 1 + d.Pick(3);
  std::wstring text = L"p" + std::to_wstring(d.actionNumber());
  for (size_t line = 0; line < lines; ++line) {
    const size_t length = longOne ? 30 + d.Pick(90) : 3 + d.Pick(12);
    text += std::wstring(length, d.Pick(2) == 0 ? L'x' : L'记');
    if (line + 1 < lines || d.Pick(2) == 0) text += L"\r\n";
  }
  return text;
}

// Types the text at the caret: each "\r" pressed as Enter.
inline void TypeNote(const std::wstring& text) {
  size_t from = 0;
  while (from <= text.size()) {
    const size_t end = std::min(text.find(L'\r', from), text.size());
    if (end > from) e2e::TypeText(text.substr(from, end - from));
    if (end == text.size()) break;
    e2e::PressKey(VK_RETURN);
    from = end + 1;
  }
}

// The note tag the drive works in: the current tag when it is one, else a note
// tag of this group or another; else a new one in this group (false when none
// could be had, which is no failure).
inline bool FindNote(RandomDrive& d, std::string* failure, bool* found) {
  *found = false;
  auto noteIn = [&](size_t g) {
    const std::vector<TagModel>& tags = d.groups()[g].tags;
    for (size_t t = 0; t < tags.size(); ++t) {
      if (tags[t].type == kNoteTag) return static_cast<int>(t);
    }
    return -1;
  };
  if (d.tag().type == kNoteTag) {
    *found = true;
    return true;
  }
  for (size_t step = 0; step < d.groups().size(); ++step) {
    const size_t g = (d.groupIndex() + step) % d.groups().size();
    const int t = noteIn(g);
    if (t < 0) continue;
    if (g != d.groupIndex() && !d.SelectGroup(g, failure)) return false;
    d.Log("  to note tag " + std::to_string(t) + " of group " + std::to_string(g));
    if (d.tagIndex() != static_cast<size_t>(t) || !d.TagShownChosen(static_cast<size_t>(t))) {
      if (!d.SelectTag(static_cast<size_t>(t), failure)) return false;
    }
    *found = true;
    return true;
  }
  if (d.group().tags.size() >= kMaxTags) return true;
  d.Log("  a new note tag first");
  if (!d.Mutate([&](std::string* why) { return d.Menu(kTagSpace, {{2}}, why); },
                [&] {
                  d.group().tags.push_back({L"便签", kNoteTag, {}, {}});
                  d.tagIndex() = d.group().tags.size() - 1;
                },
                failure)) {
    return false;
  }
  *found = true;
  return true;
}

inline std::wstring WaitNoteShows(RandomDrive& d, const std::wstring& expected);

// The caret at the end of the note, the keys in the editor. A long note goes in
// over a few turns of the window after its tag is shown, and Ctrl+End meanwhile
// reaches the end of the part shown so far: the user waits until the editor
// shows the note whole (`shown`, as the model holds it; null when only the keys
// matter).
inline void ToNoteEnd(RandomDrive& d, const std::wstring* shown) {
  e2e::WaitSettled(d.main(), 3000);
  e2e::Click(d.main(), kNoteInside, false, 80);
  // Keys go to the active window: a dialog that has just closed may still hold
  // the activation for a moment.
  if (!pexo_test::WaitUntil([&] { return GetForegroundWindow() == d.main(); }, 2000)) {
    SetForegroundWindow(d.main());
    pexo_test::WaitUntil([&] { return GetForegroundWindow() == d.main(); }, 1000);
  }
  if (shown) WaitNoteShows(d, ClipboardForm(*shown));
  e2e::PressKey(VK_END, {VK_CONTROL});
}

// Wine's plain-text rich edit pastes over the whole text rather than at the caret
// or over the selection. There a paste goes over the note selected whole, which
// ends the same on Windows; a paste at the caret is driven where it works.
inline bool PasteAtCaret() { return !pexo_test::RunningUnderWine(); }

enum class Leave { kOtherTag, kOtherGroup, kSaveKey, kHide };

// The user leaves the note (or saves it with Ctrl+S) after changing it; the
// model follows to wherever the window then shows.
inline bool LeaveNote(RandomDrive& d, Leave how, std::string* failure) {
  if (how == Leave::kOtherTag && d.group().tags.size() < 2) how = Leave::kSaveKey;
  if (how == Leave::kOtherGroup && d.groups().size() < 2) how = Leave::kHide;
  switch (how) {
    case Leave::kOtherTag: {
      size_t other = d.Pick(static_cast<uint32_t>(d.group().tags.size() - 1));
      if (other >= d.tagIndex()) ++other;
      d.Log("  left for tag " + std::to_string(other));
      return d.SelectTag(other, failure);
    }
    case Leave::kOtherGroup: {
      size_t other = d.Pick(static_cast<uint32_t>(d.groups().size() - 1));
      if (other >= d.groupIndex()) ++other;
      d.Log("  left for group " + std::to_string(other));
      return d.SelectGroup(other, failure);
    }
    case Leave::kSaveKey:
      d.Log("  saved with Ctrl+S");
      e2e::PressKey('S', {VK_CONTROL});
      return true;
    case Leave::kHide:
      d.Log("  left by hiding the window");
      e2e::Click(d.main(), kQuietSpot);  // Escape in the editor stays there
      e2e::PressKey(VK_ESCAPE);
      if (!pexo_test::WaitUntil([&] { return !IsWindowVisible(d.main()); }, 2000)) {
        *failure = "Escape did not hide the window";
        return false;
      }
      d.ShowByChord();
      e2e::WaitSettled(d.main(), 2000);
      return true;
  }
  return true;
}

inline Leave PickLeave(RandomDrive& d) { return static_cast<Leave>(d.Pick(4)); }

// What the editor shows, copied with Ctrl+A and Ctrl+C; the selection stays.
inline std::wstring CopyNote(RandomDrive& d, const std::wstring& expected) {
  RandomDrive::PutOnClipboard(L"-");
  e2e::PressKey('A', {VK_CONTROL});
  e2e::PressKey('C', {VK_CONTROL});
  std::wstring copied;
  pexo_test::WaitUntil([&] { return (copied = RandomDrive::ClipboardText()) == expected; }, 2000);
  (void)d;
  return copied;
}

// Waits until the editor shows the note whole, copying it again while it does
// not: a long note goes in over a few turns of the window, and typed characters
// may reach the editor after keys pressed behind them (a save, a close), and a
// save that comes first stores the note without them.
inline std::wstring WaitNoteShows(RandomDrive& d, const std::wstring& expected) {
  std::wstring copied;
  for (int attempt = 0; attempt < 10 && copied != expected; ++attempt) copied = CopyNote(d, expected);
  return copied;
}

inline std::string Difference(const std::wstring& got, const std::wstring& wanted) {
  size_t at = 0;
  while (at < got.size() && at < wanted.size() && got[at] == wanted[at]) ++at;
  return "got " + std::to_string(got.size()) + " chars, wanted " + std::to_string(wanted.size()) +
         ", first difference at " + std::to_string(at) + " (" + Shown(got.substr(at, 20)) + " / " +
         Shown(wanted.substr(at, 20)) + ")";
}

// --- The name dialog -------------------------------------------------------------

// The name field takes 255 characters. A stored name that is longer is shown
// whole, its length then the field's limit: typing adds nothing to it, and the
// name stays as it was.
constexpr size_t kNameFieldLimit = 255;
inline std::wstring AppendedName(const std::wstring& old, const std::wstring& suffix) {
  if (old.size() >= kNameFieldLimit) return old;
  return old + suffix.substr(0, kNameFieldLimit - old.size());
}

// The name dialog shows the old name selected: Ctrl+A and Ctrl+C copy it, End
// leaves it and the suffix is typed after it; Enter takes the whole.
inline bool AppendToName(RandomDrive& d, const std::wstring& old, const std::wstring& suffix, std::string* failure) {
  HWND dialog = d.WaitDialog(L"NameWnd", failure);
  if (!dialog) return false;
  if (!pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 2000)) {
    SetForegroundWindow(dialog);
    pexo_test::WaitUntil([&] { return GetForegroundWindow() == dialog; }, 1000);
  }
  RandomDrive::PutOnClipboard(L"-");
  e2e::PressKey('A', {VK_CONTROL});
  e2e::PressKey('C', {VK_CONTROL});
  std::wstring copied;
  if (!pexo_test::WaitUntil([&] { return (copied = RandomDrive::ClipboardText()) == old; }, 2000)) {
    e2e::PressKey(VK_ESCAPE);
    d.WaitDialogGone(L"NameWnd", failure);
    *failure = "the name dialog copied " + Shown(copied) + " of the old name " + Shown(old);
    return false;
  }
  e2e::PressKey(VK_END);
  e2e::TypeText(suffix);
  e2e::PressKey(VK_RETURN);
  return d.WaitDialogGone(L"NameWnd", failure);
}

// --- The actions -------------------------------------------------------------------

inline std::vector<Action> GroupsActions() {
  std::vector<Action> actions;
  actions.push_back({"group new", 2, [](RandomDrive& d, std::string* failure) {
                       if (d.groups().size() >= kMaxGroups) return true;
                       const bool confirm = d.Pick(5) != 0;
                       // From the strip's empty space, or from a group's own menu (which shows
                       // that group first: the right click chooses it).
                       const bool onItem = confirm && d.Pick(3) == 0;
                       const size_t item = d.Pick(static_cast<uint32_t>(d.groups().size()));
                       const std::wstring name = d.NewName(L"g");
                       d.Log(std::string(confirm ? "group new " : "group new cancelled ") + Shown(name) +
                             (onItem ? " from the menu of group " + std::to_string(item) : ""));
                       const size_t before = d.groupIndex();
                       if (!d.Mutate(
                               [&](std::string* why) {
                                 const POINT at = onItem ? GroupCentre(item) : kStripSpace;
                                 return d.Menu(at, {{0}}, why) && d.AskName(name, confirm, why);
                               },
                               [&] {
                                 if (confirm) d.groups().push_back({name, {{L"新的标签", kOrdinaryTag, {}, {}}}});
                               },
                               failure)) {
                         return false;
                       }
                       // A new group is shown with its one tag; a cancelled one leaves the group shown.
                       if (confirm) return d.SeeGroupShown(d.groups().size() - 1, failure);
                       return d.SeeGroupShown(before, failure);
                     }});
  actions.push_back({"group rename", 1, [](RandomDrive& d, std::string* failure) {
                       const size_t index = d.Pick(static_cast<uint32_t>(d.groups().size()));
                       if (!d.SelectGroup(index, failure)) return false;
                       const bool append = d.Pick(2) == 0;
                       const std::wstring old = d.groups()[index].name;
                       const std::wstring suffix = L"+" + std::to_wstring(d.actionNumber());
                       const std::wstring name = append ? AppendedName(old, suffix) : d.NewName(L"g");
                       d.Log("group rename " + std::to_string(index) + " to " + Shown(name) +
                             (append ? " (copied, suffix typed)" : ""));
                       return d.Mutate(
                           [&](std::string* why) {
                             if (!d.Menu(GroupCentre(index), {{1}}, why)) return false;
                             return append ? AppendToName(d, old, suffix, why) : d.AskName(name, true, why);
                           },
                           [&] { d.groups()[index].name = name; }, failure) &&
                              d.SeeGroupShown(index, failure);
                     }});
  actions.push_back({"group tag rename copy", 1, [](RandomDrive& d, std::string* failure) {
                       const size_t index = d.Pick(static_cast<uint32_t>(d.group().tags.size()));
                       const std::wstring old = d.group().tags[index].name;
                       const std::wstring suffix = L"+" + std::to_wstring(d.actionNumber());
                       const std::wstring name = AppendedName(old, suffix);
                       d.Log("group tag rename copy: tag " + std::to_string(index) + " to " + Shown(name));
                       return d.Mutate(
                           [&](std::string* why) {
                             return ClickTagFirst(d, index, why) && d.Menu(TagCentre(index), {{1}}, why) &&
                                    AppendToName(d, old, suffix, why);
                           },
                           [&] {
                             d.group().tags[index].name = name;
                             d.tagIndex() = index;
                           },
                           failure);
                     }});
  actions.push_back({"group move", 1, [](RandomDrive& d, std::string* failure) {
                       if (d.groups().size() < 2) return true;
                       const size_t count = d.groups().size();
                       const size_t index = d.Pick(static_cast<uint32_t>(count));
                       // Now and then against the end of the strip, where nothing moves.
                       const bool left = d.Pick(2) == 0;
                       const bool moves = left ? index > 0 : index + 1 < count;
                       if (!d.SelectGroup(index, failure)) return false;
                       d.Log("group move " + std::to_string(index) + (left ? " left" : " right") +
                             (moves ? "" : " (at the end)"));
                       const size_t other = !moves ? index : left ? index - 1 : index + 1;
                       return d.Mutate(
                                  [&](std::string* why) {
                                    return d.Menu(GroupCentre(index), {{left ? 3 : 4, 1}}, why);
                                  },
                                  [&] { std::swap(d.groups()[index], d.groups()[other]); }, failure) &&
                              d.SeeGroupShown(other, failure);
                     }});
  actions.push_back({"group delete", 1, [](RandomDrive& d, std::string* failure) {
                       // The last group stays: a window without groups has nothing to drive.
                       if (d.groups().size() < 2) return true;
                       const size_t index = d.Pick(static_cast<uint32_t>(d.groups().size()));
                       const bool ok = d.Pick(4) != 0;
                       if (!d.SelectGroup(index, failure)) return false;
                       d.Log("group delete " + std::to_string(index) + " (" + Shown(d.groups()[index].name) +
                             (ok ? "), OK" : "), cancelled"));
                       if (!d.Mutate(
                               [&](std::string* why) {
                                 return d.Menu(GroupCentre(index), {{2}}, why) && d.AnswerBox(ok, why);
                               },
                               [&] {
                                 if (ok) d.groups().erase(d.groups().begin() + static_cast<long>(index));
                               },
                               failure)) {
                         return false;
                       }
                       // The group that took the deleted one's place is shown, or the one
                       // before when the last went.
                       return d.SeeGroupShown(std::min(index, d.groups().size() - 1), failure);
                     }});
  actions.push_back({"note new", 1, [](RandomDrive& d, std::string* failure) {
                       if (d.group().tags.size() >= kMaxTags) return true;
                       const bool all = d.Pick(4) == 0;
                       d.Log(all ? "note new: an all-links tag" : "note new: a note tag");
                       return d.Mutate([&](std::string* why) { return d.Menu(kTagSpace, {{all ? 1 : 2}}, why); },
                                       [&] {
                                         d.group().tags.push_back(
                                             {all ? L"全部" : L"便签", all ? kAllLinksTag : kNoteTag, {}, {}});
                                         d.tagIndex() = d.group().tags.size() - 1;
                                       },
                                       failure);
                     }});
  actions.push_back({"note type", 2, [](RandomDrive& d, std::string* failure) {
                       bool found = false;
                       if (!FindNote(d, failure, &found)) return false;
                       if (!found) return true;
                       const std::wstring text = NoteWords(d, 2 + d.Pick(8));
                       const Leave leave = PickLeave(d);
                       d.Log("note type " + Shown(text) + " into tag " + std::to_string(d.tagIndex()));
                       TagModel& note = d.tag();
                       const std::wstring before = note.note;
                       if (Settle(
                               d,
                               [&](std::string* why) {
                                 ToNoteEnd(d, &before);
                                 TypeNote(text);
                                 const std::wstring wanted = ClipboardForm(note.note);
                                 const std::wstring copied = WaitNoteShows(d, wanted);
                                 if (copied != wanted) {
                                   *why = "the note after typing: " + Difference(copied, wanted);
                                   return false;
                                 }
                                 return LeaveNote(d, leave, why);
                               },
                               [&] { note.note += text; }, failure)) {
                         return true;
                       }
                       // Whether the text is in the editor and was not saved, or never went in.
                       if (d.tag().type == kNoteTag) {
                         ToNoteEnd(d, nullptr);
                         *failure += "; the editor shows " + Shown(CopyNote(d, ClipboardForm(d.tag().note)));
                       }
                       return false;
                     }});
  actions.push_back({"note paste", 1, [](RandomDrive& d, std::string* failure) {
                       bool found = false;
                       if (!FindNote(d, failure, &found)) return false;
                       if (!found) return true;
                       const std::wstring text = PastedText(d);
                       const Leave leave = PickLeave(d);
                       d.Log("note paste " + Shown(text) + " into tag " + std::to_string(d.tagIndex()));
                       TagModel& note = d.tag();
                       const std::wstring before = note.note;
                       return Settle(
                           d,
                           [&](std::string* why) {
                             // The wait for the whole note copies it: the text to paste goes on the clipboard after.
                             ToNoteEnd(d, &before);
                             if (!RandomDrive::PutOnClipboard(text)) {
                               *why = "the clipboard could not be had";
                               return false;
                             }
                             if (!PasteAtCaret()) e2e::PressKey('A', {VK_CONTROL});
                             e2e::PressKey('V', {VK_CONTROL});
                             return LeaveNote(d, leave, why);
                           },
                           [&] {
                             if (!PasteAtCaret()) note.note.clear();
                             note.note += EditorForm(text);
                           },
                           failure);
                     }});
  actions.push_back({"note copy paste", 1, [](RandomDrive& d, std::string* failure) {
                       bool found = false;
                       if (!FindNote(d, failure, &found)) return false;
                       if (!found || d.tag().note.empty() || d.tag().note.size() > kLongestDoubledNote) return true;
                       const Leave leave = PickLeave(d);
                       d.Log("note copy paste: tag " + std::to_string(d.tagIndex()) + (PasteAtCaret() ? " doubles" : " pasted over itself"));
                       TagModel& note = d.tag();
                       const std::wstring before = note.note;
                       return Settle(
                           d,
                           [&](std::string* why) {
                             ToNoteEnd(d, &before);
                             const std::wstring copied = CopyNote(d, ClipboardForm(before));
                             if (copied != ClipboardForm(before)) {
                               *why = "Ctrl+A, Ctrl+C in the note: " + Difference(copied, ClipboardForm(before));
                               return false;
                             }
                             // Over the whole note selected (see PasteAtCaret) the note stays as it was,
                             // so link.db cannot tell when the paste was taken: the program must have
                             // taken it before the next action puts something else on the clipboard.
                             if (PasteAtCaret()) e2e::PressKey(VK_END, {VK_CONTROL});
                             e2e::PressKey('V', {VK_CONTROL});
                             return LeaveNote(d, leave, why) && (PasteAtCaret() || d.InputTaken(why));
                           },
                           [&] {
                             if (PasteAtCaret()) note.note += before;
                           },
                           failure);
                     }});
  actions.push_back({"note switch back", 1, [](RandomDrive& d, std::string* failure) {
                       bool found = false;
                       if (!FindNote(d, failure, &found)) return false;
                       if (!found) return true;
                       const size_t group = d.groupIndex();
                       const size_t tag = d.tagIndex();
                       const bool otherGroup = d.groups().size() > 1 && (d.group().tags.size() < 2 || d.Pick(2) == 0);
                       if (!otherGroup && d.group().tags.size() < 2) return true;
                       d.Log("note switch back: tag " + std::to_string(tag) + " of group " + std::to_string(group) +
                             (otherGroup ? " by another group" : " by another tag"));
                       if (!LeaveNote(d, otherGroup ? Leave::kOtherGroup : Leave::kOtherTag, failure)) return false;
                       if (otherGroup && !d.SelectGroup(group, failure)) return false;
                       // Each group shows the tag it had last: the note again.
                       if (otherGroup && d.tagIndex() != tag) {
                         *failure = "group " + std::to_string(group) + " came back with tag " +
                                    std::to_string(d.tagIndex()) + " where the note tag " + std::to_string(tag) +
                                    " was left";
                         return false;
                       }
                       if (!otherGroup && !d.SelectTag(tag, failure)) return false;
                       // What the editor shows is the note whole.
                       ToNoteEnd(d, &d.tag().note);
                       const std::wstring wanted = ClipboardForm(d.tag().note);
                       const std::wstring copied = CopyNote(d, wanted);
                       e2e::PressKey(VK_END, {VK_CONTROL});
                       if (copied != wanted) {
                         *failure = "the note shown again: " + Difference(copied, wanted);
                         return false;
                       }
                       return d.Check(failure);
                     }});
  actions.push_back({"note restart", 1, [](RandomDrive& d, std::string* failure) {
                       bool found = false;
                       if (!FindNote(d, failure, &found)) return false;
                       if (!found) return true;
                       const std::wstring text = NoteWords(d, 2 + d.Pick(5));
                       d.Log("note restart: " + Shown(text) + " typed into tag " + std::to_string(d.tagIndex()) +
                             ", then closed");
                       const std::wstring before = d.tag().note;
                       d.tag().note += text;
                       const bool throughMenu = d.Pick(2) == 0;
                       ToNoteEnd(d, &before);
                       TypeNote(text);
                       // A close posted while typed keys are still queued is taken before
                       // them: the note must show the whole text first.
                       const std::wstring wanted = ClipboardForm(d.tag().note);
                       const std::wstring copied = WaitNoteShows(d, wanted);
                       if (copied != wanted) {
                         *failure = "the note after typing: " + Difference(copied, wanted);
                         return false;
                       }
                       return d.Restart(throughMenu, failure);
                     }});
  return actions;
}

}  // namespace drive
