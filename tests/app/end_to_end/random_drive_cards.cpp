// The random drive's card commands, link chords and search window, on stand-in
// programs: copies of launch_probe dropped on the card area ("p<N>\p<N>.exe", one
// folder each, so that each keeps its own probe_log.txt and every start is told
// apart). A start is seen in the probe's log and counted in the model as the
// program counts it; a start of any other probe meanwhile is a fault.
// - card: 以管理员身份运行 from the card menu, a double click, 编辑 in the link
//   editor (a new name typed or pasted, the old one copied into the remark first,
//   OK or cancelled).
// - chord: a global chord given to a stand-in through the editor's hot-key field,
//   then fired with nothing up, over the card menu, over the link box menu or over
//   the question box of a deletion (the link starts and counts in each: every one
//   of these loops dispatches the chord's message).
// - search: a link's name typed or pasted (and copied back) in the search window,
//   its row's menu opened, letters typed under it, then Escape or 以管理员身份运行;
//   Enter on a stand-in's row.
#include "tests/app/end_to_end/random_drive_cards.h"

#include <windows.h>

#include <sqlite3.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/app/end_to_end/random_drive_basics.h"

namespace drive {
namespace cards {
namespace {

// A link as link.db holds it, with the place of its tag in the drive's model.
struct StoredLink {
  int64_t id = 0;
  size_t group = 0;
  size_t tag = 0;
  size_t index = 0;  // among the tag's links in stored order
  std::wstring name;
  std::wstring path;
  std::wstring remark;
  int hotKey = 0;
  int runs = 0;
};

// Whether a tag shows its cards as the drive's coordinates expect them: tiles in
// stored order.
struct StoredTag {
  int sort = 0;
  int layout = 0;
};

struct StoredLinks {
  std::vector<StoredLink> links;
  std::map<std::pair<size_t, size_t>, StoredTag> tags;
};

bool ReadLinks(const std::wstring& path, StoredLinks* out) {
  out->links.clear();
  out->tags.clear();
  sqlite3* db = OpenStoreToRead(path);
  if (!db) return false;
  const auto text = ColumnText;
  auto each = [&](const char* sql, int64_t parent, const std::function<void(sqlite3_stmt*)>& take) {
    sqlite3_stmt* row = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &row, nullptr) != SQLITE_OK) return false;
    if (parent >= 0) sqlite3_bind_int64(row, 1, parent);
    while (sqlite3_step(row) == SQLITE_ROW) take(row);
    sqlite3_finalize(row);
    return true;
  };
  std::vector<int64_t> groups;
  bool ok = each("SELECT ID FROM Groups WHERE ParentGroup=0 OR ParentGroup IS NULL ORDER BY POS,ID", -1,
                 [&](sqlite3_stmt* row) { groups.push_back(sqlite3_column_int64(row, 0)); });
  for (size_t g = 0; ok && g < groups.size(); ++g) {
    std::vector<int64_t> tags;
    ok = each("SELECT ID,SORT,LAYOUT FROM Groups WHERE ParentGroup=? ORDER BY POS,ID", groups[g],
              [&](sqlite3_stmt* row) {
                out->tags[{g, tags.size()}] = {sqlite3_column_int(row, 1), sqlite3_column_int(row, 2)};
                tags.push_back(sqlite3_column_int64(row, 0));
              });
    for (size_t t = 0; ok && t < tags.size(); ++t) {
      size_t index = 0;
      ok = each("SELECT ID,NAME,PATH,Remark,HotKey,RunCount FROM Links WHERE ParentGroup=? ORDER BY POS,ID", tags[t],
                [&](sqlite3_stmt* row) {
                  out->links.push_back({sqlite3_column_int64(row, 0), g, t, index++, text(row, 1), text(row, 2),
                                        text(row, 3), sqlite3_column_int(row, 4), sqlite3_column_int(row, 5)});
                });
    }
  }
  sqlite3_close(db);
  return ok;
}

// The stand-in's number when the link starts one ("...\p12.exe" gives 12).
std::optional<int> ProbeNumber(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
  if (file.size() < 6 || file[0] != L'p' || file.substr(file.size() - 4) != L".exe") return std::nullopt;
  const std::wstring digits = file.substr(1, file.size() - 5);
  if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos) return std::nullopt;
  return std::stoi(digits);
}

// What the cards area keeps between actions: the stand-ins made, the chords
// handed out, and which stored links hold a registered chord in this run of the
// program.
struct CardsState {
  std::set<int> probes;
  std::map<int64_t, int> registered;  // link ID -> chord code
};

CardsState& State() {
  static CardsState state;
  return state;
}

std::wstring ProbeFolder(RandomDrive& d, int probe) { return d.program().File(L"p" + std::to_wstring(probe)); }

size_t ProbeStarts(RandomDrive& d, int probe) {
  const std::string log = pexo_test::ReadFileBytes(ProbeFolder(d, probe) + L"\\probe_log.txt");
  return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
}

std::map<int, size_t> AllStarts(RandomDrive& d) {
  std::map<int, size_t> starts;
  for (int probe : State().probes) starts[probe] = ProbeStarts(d, probe);
  return starts;
}

// The probe started once since `before`, and no other one.
bool StartedOnce(RandomDrive& d, int probe, const std::map<int, size_t>& before, std::string* why) {
  const size_t expected = before.at(probe) + 1;
  if (!pexo_test::WaitUntil([&] { return ProbeStarts(d, probe) >= expected; }, 10000)) {
    *why = "p" + std::to_string(probe) + " did not start";
    return false;
  }
  for (const auto& [other, starts] : AllStarts(d)) {
    const size_t wanted = other == probe ? expected : before.at(other);
    if (starts != wanted) {
      *why = "p" + std::to_string(other) + " started " + std::to_string(starts) + " times where " +
             std::to_string(wanted) + " were due";
      return false;
    }
  }
  return true;
}

// A start counted as the program counts it ("bSaveRunCount", on unless the settings changed it).
void CountRun(RandomDrive& d, const StoredLink& link) {
  const auto setting = d.conf().find(L"bSaveRunCount");
  if (setting != d.conf().end() && setting->second == L"0") return;
  for (LinkModel& model : d.groups()[link.group].tags[link.tag].links) {
    if (model.name == link.name && model.runs == link.runs) {
      ++model.runs;
      return;
    }
  }
}

bool Read(RandomDrive& d, StoredLinks* stored, std::string* failure) {
  if (ReadLinks(d.program().File(L"db\\link.db"), stored)) return true;
  *failure = "link.db could not be read";
  return false;
}

// The current tag's cards that start a stand-in, by card index: only where the
// cards stand as the model has them (tiles, stored order, the same names).
std::vector<StoredLink> ProbeCards(RandomDrive& d, const StoredLinks& stored) {
  std::vector<StoredLink> found;
  if (!InLinkTag(d)) return found;
  const auto tag = stored.tags.find({d.groupIndex(), d.tagIndex()});
  if (tag == stored.tags.end() || tag->second.sort != 0 || tag->second.layout != 0) return found;
  const std::vector<LinkModel>& model = d.tag().links;
  for (const StoredLink& link : stored.links) {
    if (link.group != d.groupIndex() || link.tag != d.tagIndex() || link.index >= model.size()) continue;
    if (model[link.index].name != link.name) return {};  // the cards stand otherwise: nothing to click
    if (ProbeNumber(link.path)) found.push_back(link);
  }
  return found;
}

// Cards stand in tiles in stored order in this tag, as CardCentre counts them.
bool CardsAsModelled(RandomDrive& d, const StoredLinks& stored) {
  const auto tag = stored.tags.find({d.groupIndex(), d.tagIndex()});
  return InLinkTag(d) && tag != stored.tags.end() && tag->second.sort == 0 && tag->second.layout == 0;
}

// A copy of launch_probe as "p<N>\p<N>.exe", dragged in and let go over the card
// area; the card is named after the file without its extension.
bool DropProgram(RandomDrive& d, int probe, std::string* failure) {
  const std::wstring folder = ProbeFolder(d, probe);
  const std::wstring exe = folder + L"\\p" + std::to_wstring(probe) + L".exe";
  CreateDirectoryW(folder.c_str(), nullptr);
  if (!CopyFileW((pexo_test::ExeFolder() + L"\\launch_probe.exe").c_str(), exe.c_str(), FALSE)) {
    *failure = "the stand-in program could not be copied";
    return false;
  }
  State().probes.insert(probe);
  return DropPath(d, exe, failure);
}

bool AddProgram(RandomDrive& d, std::string* failure) {
  const int probe = d.actionNumber();
  const std::wstring name = L"p" + std::to_wstring(probe);
  d.Log("card add program " + Utf8(name) + " to tag " + std::to_string(d.tagIndex()));
  return d.Mutate([&](std::string* why) { return DropProgram(d, probe, why); },
                  [&] { d.tag().links.push_back({name}); }, failure);
}

// A stand-in card of the current tag, dropping one first when there is none.
std::optional<StoredLink> SomeProbeCard(RandomDrive& d, std::string* failure) {
  StoredLinks stored;
  if (!Read(d, &stored, failure)) return std::nullopt;
  std::vector<StoredLink> probes = ProbeCards(d, stored);
  if (probes.empty()) {
    if (!CardsAsModelled(d, stored) || d.tag().links.size() >= kMaxLinks || !AddProgram(d, failure)) {
      return std::nullopt;
    }
    if (!Read(d, &stored, failure)) return std::nullopt;
    probes = ProbeCards(d, stored);
    if (probes.empty()) return std::nullopt;
  }
  return probes[d.Pick(static_cast<uint32_t>(probes.size()))];
}

// --- The link editor --------------------------------------------------------

// Its fields in the client area of the 480 x 520 dialog: the caption (40), the
// padding (14), then rows of 30 apart by 8 (the check box row is 26).
constexpr POINT kEditorName = {280, 70};
constexpr POINT kEditorRemark = {280, 392};
constexpr POINT kEditorHotKey = {280, 430};
constexpr size_t kNameLimit = 255;  // the name field takes no more

HWND OpenEditor(RandomDrive& d, size_t card, std::string* failure) {
  if (!d.Menu(CardCentre(card), {{7, 2}}, failure)) return nullptr;
  HWND editor = d.WaitDialog(L"EditWnd", failure);
  if (!editor) return nullptr;
  // Keys typed before the editor is active go to the main window.
  if (!pexo_test::WaitUntil([&] { return GetForegroundWindow() == editor; }, 2000)) {
    SetForegroundWindow(editor);
    pexo_test::WaitUntil([&] { return GetForegroundWindow() == editor; }, 1000);
  }
  return editor;
}

void SelectField(HWND editor, POINT field) {
  e2e::Click(editor, field, false, 80);
  e2e::PressKey('A', {VK_CONTROL});
}

// The editor's name field copied with the keys: the clipboard must then hold the
// name of the link whose menu was opened.
bool CopyName(HWND editor, const std::wstring& expected, std::string* why) {
  RandomDrive::PutOnClipboard(L"(nothing copied yet)");
  SelectField(editor, kEditorName);
  e2e::PressKey('C', {VK_CONTROL});
  if (pexo_test::WaitUntil([&] { return RandomDrive::ClipboardText() == expected; }, 3000)) return true;
  *why = "the editor's name field copied " + Shown(RandomDrive::ClipboardText()) + " where the card was " +
         Shown(expected);
  return false;
}

bool EndEditor(RandomDrive& d, HWND editor, bool ok, std::string* why) {
  e2e::Click(editor, RandomDrive::DialogButton(editor, ok));
  return d.WaitDialogGone(L"EditWnd", why);
}

// 编辑 on a card: a new name (typed or pasted; now and then the old one copied into
// the remark first), then OK or Cancel.
bool EditCard(RandomDrive& d, std::string* failure) {
  if (!InLinkTag(d) || d.tag().links.empty()) return true;
  StoredLinks stored;
  if (!Read(d, &stored, failure)) return false;
  if (!CardsAsModelled(d, stored)) return true;
  const size_t index = d.Pick(static_cast<uint32_t>(d.tag().links.size()));
  const std::wstring old = d.tag().links[index].name;
  const std::wstring name = d.NewName(L"e").substr(0, kNameLimit);
  const bool copy = d.Pick(3) == 0;
  const bool ok = d.Pick(4) != 0;
  d.Log("card edit " + std::to_string(index) + " (" + Shown(old) + ") to " + Shown(name) +
        (copy ? ", the old name copied into the remark" : "") + (ok ? ", OK" : ", cancelled"));
  return d.Mutate(
      [&](std::string* why) {
        HWND editor = OpenEditor(d, index, why);
        if (!editor) return false;
        if (copy) {
          if (!CopyName(editor, old, why)) return false;
          SelectField(editor, kEditorRemark);
          e2e::PressKey('V', {VK_CONTROL});
        }
        SelectField(editor, kEditorName);
        RandomDrive::Enter(name);
        return EndEditor(d, editor, ok, why);
      },
      [&] {
        if (ok) d.tag().links[index].name = name;
      },
      failure);
}

// --- Starting stand-ins -------------------------------------------------------

bool RunAsAdmin(RandomDrive& d, std::string* failure) {
  if (!InLinkTag(d)) return true;
  const std::optional<StoredLink> link = SomeProbeCard(d, failure);
  if (!link) return failure->empty();
  d.Log("card run as admin " + std::to_string(link->index) + " (" + Shown(link->name) + ")");
  const int probe = *ProbeNumber(link->path);
  return d.Mutate(
      [&](std::string* why) {
        const std::map<int, size_t> before = AllStarts(d);
        // Under Wine "runas" starts the program as "open" does.
        return d.Menu(CardCentre(link->index), {{0}}, why) && StartedOnce(d, probe, before, why);
      },
      [&] { CountRun(d, *link); }, failure);
}

bool DoubleClickCard(RandomDrive& d, std::string* failure) {
  // Only where a double click is what starts a card.
  const auto setting = d.conf().find(L"bDoubleClick");
  if (!InLinkTag(d) || setting == d.conf().end() || setting->second != L"1") return true;
  const std::optional<StoredLink> link = SomeProbeCard(d, failure);
  if (!link) return failure->empty();
  d.Log("card double click " + std::to_string(link->index) + " (" + Shown(link->name) + ")");
  const int probe = *ProbeNumber(link->path);
  return d.Mutate(
      [&](std::string* why) {
        const std::map<int, size_t> before = AllStarts(d);
        // Apart from any click before it, as a hand is.
        Sleep(GetDoubleClickTime() + 50);
        e2e::Click(d.main(), CardCentre(link->index), false, 0);
        e2e::Click(d.main(), CardCentre(link->index), false, 100);
        return StartedOnce(d, probe, before, why);
      },
      [&] { CountRun(d, *link); }, failure);
}

// --- Chords -------------------------------------------------------------------

// Chords nobody else uses: Ctrl+Shift with a function key that the windows under
// them take for nothing when a display delivers the keys instead (no F1 help, no
// F4 close, no F8/F9 of the application chords, no F10 menu bar, not the
// drive's own F12).
constexpr WORD kChordKeys[] = {VK_F2, VK_F3, VK_F5, VK_F6, VK_F7, VK_F11};
constexpr UINT kChordModifiers = MOD_CONTROL | MOD_SHIFT;
int ChordCode(WORD key) { return static_cast<int>(kChordModifiers << 8 | key); }

// Whether some window holds the chord system-wide: this process cannot register it then.
bool ChordTaken(int code) {
  constexpr int kProbeId = 0xB000;
  if (!RegisterHotKey(nullptr, kProbeId, (code >> 8) & 0xFF, code & 0xFF)) return true;
  UnregisterHotKey(nullptr, kProbeId);
  return false;
}

bool SetChord(RandomDrive& d, std::string* failure) {
  if (!InLinkTag(d)) return true;
  // Now and then a new stand-in, so that chords alone also meet several links.
  if (d.Pick(3) == 0 && d.tag().links.size() < kMaxLinks && !AddProgram(d, failure)) return false;
  const std::optional<StoredLink> link = SomeProbeCard(d, failure);
  if (!link) return failure->empty();
  StoredLinks stored;
  if (!Read(d, &stored, failure)) return false;
  std::set<int> used;
  for (const StoredLink& other : stored.links) used.insert(other.hotKey);
  std::vector<WORD> free;
  for (WORD key : kChordKeys) {
    if (!used.count(ChordCode(key))) free.push_back(key);
  }
  if (free.empty()) return true;
  const WORD key = free[d.Pick(static_cast<uint32_t>(free.size()))];
  const int code = ChordCode(key);
  d.Log("chord set Ctrl+Shift+F" + std::to_string(key - VK_F1 + 1) + " on card " + std::to_string(link->index) +
        " (" + Shown(link->name) + ")");
  if (ChordTaken(code)) {
    *failure = "the chord is taken before any link has it";
    return false;
  }
  // The editor does not change what the model holds: the chord is checked in link.db and with the system.
  if (!d.Mutate(
          [&](std::string* why) {
            HWND editor = OpenEditor(d, link->index, why);
            if (!editor) return false;
            e2e::Click(editor, kEditorHotKey, false, 80);
            e2e::PressKey(key, {VK_CONTROL, VK_SHIFT});
            if (!EndEditor(d, editor, true, why)) return false;
            StoredLinks after;
            return pexo_test::WaitUntil(
                [&] {
                  if (!ReadLinks(d.program().File(L"db\\link.db"), &after)) return false;
                  for (const StoredLink& saved : after.links) {
                    if (saved.id == link->id) return saved.hotKey == code;
                  }
                  return false;
                },
                5000) || (*why = "link.db holds no chord for the link", false);
          },
          [] {}, failure)) {
    return false;
  }
  if (!ChordTaken(code)) {
    *failure = "the link's chord was stored but is not registered";
    return false;
  }
  State().registered[link->id] = code;
  return true;
}

// Where the chord is fired: over nothing, over a menu, over the question box, or
// with the window hidden (a link's chord does not show it).
enum class ChordOver { kNothing, kCardMenu, kLinkBoxMenu, kQuestionBox, kHidden };

// The chord pressed with the keys; where this display makes no WM_HOTKEY of
// synthesised keys (Wine's, without a window manager, often does not), the
// program is first seen to hold the chord (this process cannot register it) and
// the message the system would send is posted.
bool FireChord(RandomDrive& d, int code, int probe, const std::map<int, size_t>& before, std::string* why) {
  const bool keysMakeChords = KeysMakeChords();
  if (!keysMakeChords) d.Log("  (the display makes no chord of keys: WM_HOTKEY posted)");
  e2e::PressChord({VK_CONTROL, VK_SHIFT}, static_cast<WORD>(code & 0xFF));
  if (keysMakeChords) return StartedOnce(d, probe, before, why);
  if (!ChordTaken(code)) {
    *why = "the link's chord is not registered";
    return false;
  }
  // The chord's own modifiers and key, as the system sends them; the dispatch
  // matches the chord, not the identifier.
  PostMessageW(d.main(), WM_HOTKEY, 1, MAKELPARAM((code >> 8) & 0xFF, code & 0xFF));
  return StartedOnce(d, probe, before, why);
}

bool CloseMenus(RandomDrive& d, std::string* why) {
  e2e::Click(d.main(), kQuietSpot);
  if (e2e::WaitGone(d.pid(), L"MenuWnd", 3000)) return true;
  *why = "the menu stayed after the chord";
  return false;
}

bool ChordAction(RandomDrive& d, std::string* failure) {
  StoredLinks stored;
  if (!Read(d, &stored, failure)) return false;
  std::map<int, int> holders;
  for (const StoredLink& link : stored.links) {
    if (link.hotKey) ++holders[link.hotKey];
  }
  std::vector<StoredLink> chorded;
  for (const StoredLink& link : stored.links) {
    const auto registered = State().registered.find(link.id);
    if (registered != State().registered.end() && registered->second == link.hotKey && holders[link.hotKey] == 1 &&
        ProbeNumber(link.path)) {
      chorded.push_back(link);
    }
  }
  if (chorded.empty()) return SetChord(d, failure);
  const StoredLink link = chorded[d.Pick(static_cast<uint32_t>(chorded.size()))];
  const int probe = *ProbeNumber(link.path);
  const bool cards = CardsAsModelled(d, stored) && !d.tag().links.empty();
  const auto confirm = d.conf().find(L"bDelConfirm");
  const bool asks = confirm != d.conf().end() && confirm->second == L"1";
  ChordOver over = static_cast<ChordOver>(d.Pick(5));
  if ((over == ChordOver::kCardMenu || over == ChordOver::kQuestionBox) && !cards) over = ChordOver::kNothing;
  if (over == ChordOver::kQuestionBox && !asks) over = ChordOver::kCardMenu;
  if (over == ChordOver::kLinkBoxMenu && !InLinkTag(d)) over = ChordOver::kNothing;
  const size_t card = cards ? d.Pick(static_cast<uint32_t>(d.tag().links.size())) : 0;
  const bool ok = d.Pick(3) == 0;
  static const char* const kOver[] = {"nothing", "the card menu", "the link box menu", "the question box",
                                      "nothing, the window hidden"};
  d.Log("chord fire for " + Shown(link.name) + " (group " + std::to_string(link.group) + " tag " +
        std::to_string(link.tag) + ") over " + kOver[static_cast<int>(over)] +
        (over == ChordOver::kQuestionBox ? std::string(" of card ") + std::to_string(card) + (ok ? ", OK" : ", cancelled")
                                         : std::string()));
  return d.Mutate(
      [&](std::string* why) {
        const std::map<int, size_t> before = AllStarts(d);
        switch (over) {
          case ChordOver::kNothing:
            return FireChord(d, link.hotKey, probe, before, why);
          case ChordOver::kHidden: {
            e2e::Click(d.main(), kQuietSpot);  // the keys go to the window, not a note
            e2e::PressKey(VK_ESCAPE);
            if (!pexo_test::WaitUntil([&] { return !IsWindowVisible(d.main()); }, 2000)) {
              *why = "Escape did not hide the window";
              return false;
            }
            if (!FireChord(d, link.hotKey, probe, before, why)) return false;
            if (IsWindowVisible(d.main())) {
              *why = "the link's chord showed the window";
              return false;
            }
            d.ShowByChord();
            e2e::WaitSettled(d.main(), 2000);
            return true;
          }
          case ChordOver::kCardMenu:
          case ChordOver::kLinkBoxMenu: {
            const POINT at = over == ChordOver::kCardMenu ? CardCentre(card) : kLinkBoxSpace;
            e2e::LastMenu() = {};
            const HWND level =
                e2e::OpenMenuLevel(d.pid(), [&] { e2e::Click(d.main(), at, true, 50); }, "right click");
            d.CountSecondClicks();
            if (!level) {
              d.NotCame(why, "no menu came");
              return false;
            }
            if (!FireChord(d, link.hotKey, probe, before, why)) return false;
            return CloseMenus(d, why);
          }
          case ChordOver::kQuestionBox: {
            if (!d.Menu(CardCentre(card), {{8, 2}}, why)) return false;
            if (!pexo_test::WaitUntil([&] { return pexo_test::FindProcessWindow(d.pid(), L"#32770", nullptr, true); },
                                      5000)) {
              d.NotCame(why, "no question box came");
              return false;
            }
            return FireChord(d, link.hotKey, probe, before, why) && d.AnswerBox(ok, why);
          }
        }
        return false;
      },
      [&] {
        CountRun(d, link);
        if (over == ChordOver::kQuestionBox && ok) d.tag().links.erase(d.tag().links.begin() + static_cast<long>(card));
      },
      failure);
}

// --- The search window ----------------------------------------------------------

// Its rows: below the 40-pixel edit band, 30 high from the list's padding of 2.
POINT SearchRowCentre(size_t row) { return {280, 40 + 2 + 30 * static_cast<LONG>(row) + 15}; }

bool ContainsFolded(const std::wstring& text, const std::wstring& word) {
  auto fold = [](wchar_t ch) { return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + 32) : ch; };
  if (word.size() > text.size()) return false;
  for (size_t start = 0; start + word.size() <= text.size(); ++start) {
    size_t i = 0;
    while (i < word.size() && fold(text[start + i]) == fold(word[i])) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

// How many links a search for the text finds by their names and remarks.
size_t Matches(const StoredLinks& stored, const std::wstring& text) {
  size_t count = 0;
  for (const StoredLink& link : stored.links) count += ContainsFolded(link.name, text) || ContainsFolded(link.remark, text);
  return count;
}

HWND OpenSearch(RandomDrive& d, std::string* why) {
  e2e::Click(d.main(), kSearchButton, false, 150);
  HWND search = e2e::WaitVisible(d.pid(), L"SearchWnd", 5000);
  if (!search) {
    d.NotCame(why, "no search window");
    return nullptr;
  }
  if (!e2e::WaitReadyForKeys(search)) {
    SetForegroundWindow(search);
    if (!pexo_test::WaitUntil([&] { return GetForegroundWindow() == search; }, 2000)) {
      *why = "the search window never took the keys";
      return nullptr;
    }
  }
  return search;
}

// The window grows by a row per result (at most 24 shown).
bool WaitRows(HWND search, size_t rows, std::string* why) {
  const LONG height = 40 + 30 * static_cast<LONG>(std::min<size_t>(rows, 24));
  if (pexo_test::WaitUntil(
          [&] {
            RECT rc = {};
            return GetWindowRect(search, &rc) && rc.bottom - rc.top == height;
          },
          5000)) {
    e2e::WaitSettled(search, 3000);
    return true;
  }
  *why = "the search window did not show " + std::to_string(rows) + " rows";
  return false;
}

// The name into the search field: typed, or pasted and copied back with the keys.
bool SearchFor(HWND search, const std::wstring& name, bool paste, std::string* why) {
  if (!paste) {
    RandomDrive::Enter(name);
    return WaitRows(search, 1, why);
  }
  RandomDrive::PutOnClipboard(name);
  e2e::PressKey('V', {VK_CONTROL});
  if (!WaitRows(search, 1, why)) return false;
  RandomDrive::PutOnClipboard(L"(nothing copied yet)");
  e2e::PressKey('A', {VK_CONTROL});
  e2e::PressKey('C', {VK_CONTROL});
  if (pexo_test::WaitUntil([&] { return RandomDrive::ClipboardText() == name; }, 3000)) return true;
  *why = "the search field copied " + Shown(RandomDrive::ClipboardText());
  return false;
}

bool SearchGone(RandomDrive& d, std::string* why) {
  if (e2e::WaitGone(d.pid(), L"SearchWnd", 3000)) return true;
  *why = "the search window stayed";
  return false;
}

// A link a search for its whole name finds alone (stand-ins only, when it is to start).
std::optional<StoredLink> SearchTarget(RandomDrive& d, const StoredLinks& stored, bool probe) {
  std::vector<StoredLink> found;
  for (const StoredLink& link : stored.links) {
    if ((!probe || ProbeNumber(link.path)) && !link.name.empty() && Matches(stored, link.name) == 1) {
      found.push_back(link);
    }
  }
  if (found.empty()) return std::nullopt;
  return found[d.Pick(static_cast<uint32_t>(found.size()))];
}

// The same, with a stand-in dropped in the current tag first when none is to be
// found (and now and then anyway).
std::optional<StoredLink> FindOrAddTarget(RandomDrive& d, StoredLinks* stored, bool probe,
                                                 std::string* failure) {
  // Now and then one more, so that a search alone also meets several stand-ins.
  const bool more = d.Pick(4) == 0;
  if (std::optional<StoredLink> link = SearchTarget(d, *stored, probe); link && !more) return link;
  if (!InLinkTag(d) || d.tag().links.size() >= kMaxLinks || !AddProgram(d, failure) || !Read(d, stored, failure)) {
    return std::nullopt;
  }
  return SearchTarget(d, *stored, probe);
}

// A row's menu opened, letters typed under it (the rows change), then Escape, or
// 以管理员身份运行 on a stand-in: the right-clicked link starts.
bool SearchMenu(RandomDrive& d, std::string* failure) {
  StoredLinks stored;
  if (!Read(d, &stored, failure)) return false;
  const bool admin = d.Pick(2) == 0;
  const std::optional<StoredLink> link = FindOrAddTarget(d, &stored, admin, failure);
  if (!link) return failure->empty();
  const bool paste = d.Pick(3) == 0;
  // Letters that leave no result, or a Backspace that brings others in.
  const uint32_t roll = d.Pick(3);
  const bool back = roll == 0 && link->name.size() > 1;
  const std::wstring more = roll == 1 ? L"j" : L"zq";
  const size_t rowsAfter =
      Matches(stored, back ? link->name.substr(0, link->name.size() - 1) : link->name + more);
  d.Log("search menu for " + Shown(link->name) + (paste ? " (pasted)" : "") + ", " +
        (back ? std::string("Backspace") : Utf8(more)) + " typed under it (" + std::to_string(rowsAfter) +
        " rows), " + (admin ? "以管理员身份运行" : "Escape"));
  auto act = [&](std::string* why) {
    const std::map<int, size_t> before = AllStarts(d);
    HWND search = OpenSearch(d, why);
    if (!search || !SearchFor(search, link->name, paste, why)) return false;
    e2e::LastMenu() = {};
    HWND level = e2e::OpenMenuLevel(d.pid(), [&] { e2e::Click(search, SearchRowCentre(0), true, 50); }, "right click");
    d.CountSecondClicks();
    if (!level) {
      // The search window goes with its menu's chance: it is closed before a retry.
      e2e::PressKey(VK_ESCAPE);
      SearchGone(d, why);
      d.NotCame(why, "the result's menu did not open");
      return false;
    }
    // Down gives the keys back to the text while the menu stays up.
    e2e::PressKey(VK_DOWN);
    if (back) {
      e2e::PressKey(VK_BACK);
    } else {
      e2e::TypeText(more);
    }
    if (!WaitRows(search, rowsAfter, why)) return false;
    if (!admin) {
      e2e::PressKey(VK_ESCAPE);
      if (!e2e::WaitGone(d.pid(), L"MenuWnd", 3000)) {
        *why = "Escape left the result's menu up";
        return false;
      }
      // Escape reaches the search field (the menu takes no keys): the window goes,
      // and with its foreground the menu. Should the window stay, a second Escape.
      if (IsWindowVisible(search) && GetForegroundWindow() == search) e2e::PressKey(VK_ESCAPE);
      if (!SearchGone(d, why)) return false;
      for (const auto& [probe, starts] : AllStarts(d)) {
        if (starts != before.at(probe)) {
          *why = "p" + std::to_string(probe) + " started after Escape";
          return false;
        }
      }
      return true;
    }
    if (!e2e::FollowMenuPath(d.pid(), level, {{0}})) {
      d.NotCame(why, "the result's menu: " + e2e::LastMenuNote());
      return false;
    }
    return StartedOnce(d, *ProbeNumber(link->path), before, why) && SearchGone(d, why);
  };
  if (!admin) return d.Reach(act, failure);
  return d.Mutate(act, [&] { CountRun(d, *link); }, failure);
}

// Enter on the row of a stand-in found by its name.
bool SearchEnter(RandomDrive& d, std::string* failure) {
  StoredLinks stored;
  if (!Read(d, &stored, failure)) return false;
  const std::optional<StoredLink> link = FindOrAddTarget(d, &stored, true, failure);
  if (!link) return failure->empty();
  const bool paste = d.Pick(2) == 0;
  d.Log("search enter on " + Shown(link->name) + (paste ? " (pasted)" : ""));
  return d.Mutate(
      [&](std::string* why) {
        const std::map<int, size_t> before = AllStarts(d);
        HWND search = OpenSearch(d, why);
        if (!search || !SearchFor(search, link->name, paste, why)) return false;
        e2e::PressKey(VK_RETURN);
        return StartedOnce(d, *ProbeNumber(link->path), before, why) && SearchGone(d, why);
      },
      [&] { CountRun(d, *link); }, failure);
}

}  // namespace

// The chords the program holds: after a start, every stored chord no other link
// shares (the store registers them as it loads; shared ones are left out here,
// which of them won is not the drive's to guess). Read as the run starts: a link
// deleted later frees its chord without giving it to a copy that shares it.
void FollowStart(RandomDrive& d) {
  CardsState& state = State();
  state.registered.clear();
  StoredLinks stored;
  if (!ReadLinks(d.program().File(L"db\\link.db"), &stored)) return;
  std::map<int, int> holders;
  for (const StoredLink& link : stored.links) {
    if (link.hotKey) ++holders[link.hotKey];
  }
  for (const StoredLink& link : stored.links) {
    if (link.hotKey && holders[link.hotKey] == 1) state.registered[link.id] = link.hotKey;
  }
}

}  // namespace cards

std::vector<Action> CardsActions() {
  std::vector<Action> actions;
  actions.push_back({"card add program", 2, [](RandomDrive& d, std::string* failure) {
                       if (!InLinkTag(d) || d.tag().links.size() >= kMaxLinks) return true;
                       return cards::AddProgram(d, failure);
                     }});
  actions.push_back({"card run as admin", 2, cards::RunAsAdmin});
  actions.push_back({"card double click", 1, cards::DoubleClickCard});
  actions.push_back({"card edit", 3, cards::EditCard});
  actions.push_back({"chord set", 1, cards::SetChord});
  actions.push_back({"chord fire", 3, cards::ChordAction});
  actions.push_back({"search menu", 2, cards::SearchMenu});
  actions.push_back({"search enter", 1, cards::SearchEnter});
  return actions;
}

}  // namespace drive
