// The random drive's everyday actions in the current tag: tags and cards chosen,
// web links added or cancelled, files dropped, cards deleted (the question
// answered either way), moved or copied, tags made, renamed, deleted and moved,
// keys, hiding, the search window and the main menu left, a second start and
// restarts.
#pragma once

#include "tests/app/end_to_end/random_drive.h"
#include "tests/app/support/test_data_object.h"

namespace drive {

enum class DialogEnd { kOk, kCancelButton, kEscape };

// The link box menu's "添加网址", the dialog filled in and ended as asked.
inline bool AddWebLink(RandomDrive& d, const std::wstring& name, DialogEnd end, std::string* failure) {
  if (!d.Menu(kLinkBoxSpace, {{2}}, failure)) return false;
  HWND dialog = d.WaitDialog(L"UrlWnd", failure);
  if (!dialog) return false;
  e2e::Click(dialog, {250, 70}, false, 80);
  RandomDrive::Enter(name);
  e2e::Click(dialog, {250, 108}, false, 80);
  e2e::TypeText(L"http://e/" + std::to_wstring(d.actionNumber()));
  if (end == DialogEnd::kEscape) {
    e2e::PressKey(VK_ESCAPE);
  } else {
    e2e::Click(dialog, RandomDrive::DialogButton(dialog, end == DialogEnd::kOk));
  }
  return d.WaitDialogGone(L"UrlWnd", failure);
}

// A file dragged in from this process with OLE and let go over the card area.
inline bool DropPath(RandomDrive& d, const std::wstring& path, std::string* failure) {
  TestDataObject data;
  data.SetFiles({path});
  e2e::CarryOverAndDrop source(e2e::ToScreen(d.main(), kLinkBoxSpace));
  e2e::MoveTo(e2e::ToScreen(d.main(), {kLinkBoxSpace.x - 60, kLinkBoxSpace.y}));
  DWORD effect = DROPEFFECT_NONE;
  if (DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect) != DRAGDROP_S_DROP) {
    *failure = "the drag was not dropped";
    return false;
  }
  return true;
}

inline bool DropFile(RandomDrive& d, const std::wstring& name, std::string* failure) {
  const std::wstring path = d.program().File(name + L".txt");
  if (!pexo_test::WriteFileBytes(path, "dropped")) {
    *failure = "the file to drop could not be written";
    return false;
  }
  return DropPath(d, path, failure);
}

// A second start of the program from its folder; it must end with 0.
inline bool SecondStart(RandomDrive& d, std::string* failure) {
  std::wstring commandLine = L"\"" + d.program().File(L"Pexo.exe") + L"\" main";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, d.program().folder().c_str(),
                      &startup, &info)) {
    *failure = "the second start could not be made";
    return false;
  }
  const ui::UniqueHandle process(info.hProcess);
  const ui::UniqueHandle thread(info.hThread);
  DWORD code = 1;
  const bool ended = WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0 &&
                     GetExitCodeProcess(info.hProcess, &code) && code == 0;
  if (!ended) {
    TerminateProcess(info.hProcess, 1);
    *failure = "the second start did not end with 0";
  }
  return ended;
}

// The tag chosen with a click before its menu is opened, inside an action whose
// model has already taken the change and the tag the window will show after it.
inline bool ClickTagFirst(RandomDrive& d, size_t index, std::string* why) {
  const size_t modelled = d.tagIndex();
  const bool chosen = d.SelectTag(index, why);
  d.tagIndex() = modelled;
  return chosen;
}

// Cards only stand in ordinary tags.
inline bool InLinkTag(RandomDrive& d) { return d.tag().type == kOrdinaryTag; }

inline std::vector<Action> BasicActions() {
  std::vector<Action> actions;
  actions.push_back({"click tag", 10, [](RandomDrive& d, std::string* failure) {
                       const size_t index = d.Pick(static_cast<uint32_t>(d.group().tags.size()));
                       d.Log("click tag " + std::to_string(index));
                       return d.SelectTag(index, failure);
                     }});
  actions.push_back({"click group", 4, [](RandomDrive& d, std::string* failure) {
                       const size_t index = d.Pick(static_cast<uint32_t>(d.groups().size()));
                       d.Log("click group " + std::to_string(index));
                       return d.SelectGroup(index, failure);
                     }});
  actions.push_back({"click card", 8, [](RandomDrive& d, std::string*) {
                       // A single click only selects here: bDoubleClick=1.
                       if (!InLinkTag(d) || d.tag().links.empty()) return true;
                       static DWORD lastClick = 0;
                       const size_t index = d.Pick(static_cast<uint32_t>(d.tag().links.size()));
                       d.Log("click card " + std::to_string(index));
                       const DWORD since = GetTickCount() - lastClick;
                       if (since < GetDoubleClickTime() + 100) Sleep(GetDoubleClickTime() + 100 - since);
                       e2e::Click(d.main(), CardCentre(index), false, 100);
                       lastClick = GetTickCount();
                       return true;
                     }});
  actions.push_back({"add web link", 8, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d) || d.tag().links.size() >= kMaxLinks) return true;
                       const std::wstring name = d.NewName(L"w");
                       d.Log("add web link " + Shown(name) + " to tag " + std::to_string(d.tagIndex()));
                       return d.Mutate([&](std::string* why) { return AddWebLink(d, name, DialogEnd::kOk, why); },
                                       [&] { d.tag().links.push_back({name}); }, failure);
                     }});
  actions.push_back({"drop file", 4, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d) || d.tag().links.size() >= kMaxLinks) return true;
                       const std::wstring name = L"d" + std::to_wstring(d.actionNumber());
                       d.Log("drop file " + Shown(name) + " on tag " + std::to_string(d.tagIndex()));
                       return d.Mutate([&](std::string* why) { return DropFile(d, name, why); },
                                       [&] { d.tag().links.push_back({name}); }, failure);
                     }});
  actions.push_back({"cancel web link", 3, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d)) return true;
                       const std::wstring name = d.NewName(L"w");
                       const DialogEnd end = d.Pick(2) == 0 ? DialogEnd::kCancelButton : DialogEnd::kEscape;
                       d.Log("cancel web link " + Shown(name));
                       return d.Mutate([&](std::string* why) { return AddWebLink(d, name, end, why); }, [] {},
                                       failure);
                     }});
  actions.push_back({"delete card", 6, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d) || d.tag().links.empty()) return true;
                       const size_t index = d.Pick(static_cast<uint32_t>(d.tag().links.size()));
                       const bool ok = d.Pick(4) != 0;
                       d.Log("delete card " + std::to_string(index) + " (" + Shown(d.tag().links[index].name) +
                             (ok ? "), OK" : "), cancelled"));
                       return d.Mutate(
                           [&](std::string* why) {
                             return d.Menu(CardCentre(index), {{8, 2}}, why) && d.AnswerBox(ok, why);
                           },
                           [&] {
                             if (ok) d.tag().links.erase(d.tag().links.begin() + static_cast<long>(index));
                           },
                           failure);
                     }});
  actions.push_back({"move or copy card", 7, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d) || d.tag().links.empty()) return true;
                       // The target: any ordinary tag of any group but this one.
                       std::vector<std::pair<size_t, size_t>> targets;
                       for (size_t g = 0; g < d.groups().size(); ++g) {
                         for (size_t t = 0; t < d.groups()[g].tags.size(); ++t) {
                           const TagModel& tag = d.groups()[g].tags[t];
                           if ((g != d.groupIndex() || t != d.tagIndex()) && tag.type == kOrdinaryTag &&
                               tag.links.size() < kMaxLinks) {
                             targets.emplace_back(g, t);
                           }
                         }
                       }
                       if (targets.empty()) return true;
                       const auto [group, target] = targets[d.Pick(static_cast<uint32_t>(targets.size()))];
                       const size_t index = d.Pick(static_cast<uint32_t>(d.tag().links.size()));
                       const bool copy = d.Pick(3) == 0;
                       d.Log(std::string(copy ? "copy" : "move") + " card " + std::to_string(index) + " (" +
                             Shown(d.tag().links[index].name) + ") to group " + std::to_string(group) + " tag " +
                             std::to_string(target));
                       // The tag level lists a group's ordinary tags only.
                       int row = 0;
                       for (size_t t = 0; t < target; ++t) row += d.groups()[group].tags[t].type == kOrdinaryTag;
                       return d.Mutate(
                           [&](std::string* why) {
                             return d.Menu(CardCentre(index), {{copy ? 5 : 4, 1}, {static_cast<int>(group)}, {row}},
                                           why);
                           },
                           [&] {
                             std::vector<LinkModel>& links = d.tag().links;
                             LinkModel link = links[index];
                             if (copy) link.runs = 0;
                             d.groups()[group].tags[target].links.push_back(link);
                             if (!copy) links.erase(links.begin() + static_cast<long>(index));
                           },
                           failure);
                     }});
  actions.push_back({"new tag", 5, [](RandomDrive& d, std::string* failure) {
                       if (d.group().tags.size() >= kMaxTags) return true;
                       const bool confirm = d.Pick(5) != 0;
                       const std::wstring name = d.NewName(L"t");
                       d.Log((confirm ? "new tag " : "new tag cancelled ") + Shown(name));
                       return d.Mutate(
                           [&](std::string* why) {
                             return d.Menu(kTagSpace, {{0}}, why) && d.AskName(name, confirm, why);
                           },
                           [&] {
                             if (!confirm) return;
                             d.group().tags.push_back({name, kOrdinaryTag, {}, {}});
                             d.tagIndex() = d.group().tags.size() - 1;
                           },
                           failure);
                     }});
  actions.push_back({"rename tag", 4, [](RandomDrive& d, std::string* failure) {
                       const size_t index = d.Pick(static_cast<uint32_t>(d.group().tags.size()));
                       const std::wstring name = d.NewName(L"r");
                       d.Log("rename tag " + std::to_string(index) + " to " + Shown(name));
                       return d.Mutate(
                           [&](std::string* why) {
                             return ClickTagFirst(d, index, why) && d.Menu(TagCentre(index), {{1}}, why) &&
                                    d.AskName(name, true, why);
                           },
                           [&] {
                             d.group().tags[index].name = name;
                             d.tagIndex() = index;
                           },
                           failure);
                     }});
  actions.push_back({"delete tag", 3, [](RandomDrive& d, std::string* failure) {
                       if (d.group().tags.size() < 2) return true;
                       const size_t index = d.Pick(static_cast<uint32_t>(d.group().tags.size()));
                       const bool ok = d.Pick(4) != 0;
                       d.Log("delete tag " + std::to_string(index) + " (" + Shown(d.group().tags[index].name) +
                             (ok ? "), OK" : "), cancelled"));
                       return d.Mutate(
                           [&](std::string* why) {
                             return ClickTagFirst(d, index, why) && d.Menu(TagCentre(index), {{2}}, why) &&
                                    d.AnswerBox(ok, why);
                           },
                           [&] {
                             std::vector<TagModel>& tags = d.group().tags;
                             if (ok) {
                               tags.erase(tags.begin() + static_cast<long>(index));
                               d.tagIndex() = std::min(index, tags.size() - 1);
                             } else {
                               d.tagIndex() = index;
                             }
                           },
                           failure);
                     }});
  actions.push_back({"move tag", 4, [](RandomDrive& d, std::string* failure) {
                       std::vector<TagModel>& tags = d.group().tags;
                       if (tags.size() < 2) return true;
                       const size_t index = d.Pick(static_cast<uint32_t>(tags.size()));
                       const bool up = index == tags.size() - 1 || (index > 0 && d.Pick(2) == 0);
                       d.Log(std::string("move tag ") + std::to_string(index) + (up ? " up" : " down"));
                       const size_t other = up ? index - 1 : index + 1;
                       return d.Mutate(
                           [&](std::string* why) {
                             return ClickTagFirst(d, index, why) && d.Menu(TagCentre(index), {{up ? 3 : 4, 1}}, why);
                           },
                           [&] {
                             std::swap(d.group().tags[index], d.group().tags[other]);
                             d.tagIndex() = other;
                           },
                           failure);
                     }});
  actions.push_back({"refresh icons", 2, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d)) return true;
                       d.Log("refresh the tag's icons");
                       return d.Reach([&](std::string* why) { return d.Menu(kLinkBoxSpace, {{7, 2}}, why); }, failure);
                     }});
  actions.push_back({"clear tag", 1, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d)) return true;
                       const bool ok = d.Pick(3) != 0;
                       d.Log("clear tag " + std::to_string(d.tagIndex()) + (ok ? ", OK" : ", cancelled"));
                       return d.Mutate(
                           [&](std::string* why) {
                             return d.Menu(kLinkBoxSpace, {{8, 2}}, why) && d.AnswerBox(ok, why);
                           },
                           [&] {
                             if (ok) d.tag().links.clear();
                           },
                           failure);
                     }});
  actions.push_back({"keys", 4, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d)) return true;  // a note takes the letters as text
                       static constexpr WORD kKeys[] = {'A',     'K',      'Z',   '3',    VK_LEFT,
                                                        VK_RIGHT, VK_UP, VK_DOWN, VK_TAB, VK_HOME};
                       const WORD key = kKeys[d.Pick(std::size(kKeys))];
                       d.Log("key " + std::to_string(key));
                       e2e::PressKey(key);
                       // Arrows, Home and Tab move the selection of whichever list has the focus,
                       // the tag list too: the user goes back to the tag being worked in.
                       return d.SelectTag(d.tagIndex(), failure);
                     }});
  actions.push_back({"hide and show", 4, [](RandomDrive& d, std::string* failure) {
                       d.Log("hide with Escape, show with the chord");
                       e2e::Click(d.main(), kQuietSpot);  // the keys go to the window, not a note
                       e2e::PressKey(VK_ESCAPE);
                       if (!pexo_test::WaitUntil([&] { return !IsWindowVisible(d.main()); }, 2000)) {
                         *failure = "Escape did not hide the window";
                         return false;
                       }
                       d.ShowByChord();
                       if (!IsWindowVisible(d.main())) {
                         *failure = "the chord did not show the window";
                         return false;
                       }
                       e2e::WaitSettled(d.main(), 2000);
                       return true;
                     }});
  actions.push_back({"main menu left", 2, [](RandomDrive& d, std::string* failure) {
                       d.Log("main menu opened and left");
                       if (!d.Reach([&](std::string* why) { return d.OpenMainMenu(why) != nullptr; }, failure)) {
                         return false;
                       }
                       e2e::Click(d.main(), kQuietSpot);
                       if (!e2e::WaitGone(d.pid(), L"MenuWnd", 3000)) {
                         *failure = "the main menu stayed";
                         return false;
                       }
                       return true;
                     }});
  actions.push_back({"second start", 1, [](RandomDrive& d, std::string* failure) {
                       d.Log("second start");
                       if (!SecondStart(d, failure)) return false;
                       if (!d.program().Running() ||
                           !pexo_test::WaitUntil([&] { return IsWindowVisible(d.main()) != FALSE; }, 5000)) {
                         *failure = "the first run did not stay and show";
                         return false;
                       }
                       return true;
                     }});
  actions.push_back({"restart", 2, [](RandomDrive& d, std::string* failure) {
                       return d.Restart(d.Pick(2) == 0, failure);
                     }});
  return actions;
}

}  // namespace drive
