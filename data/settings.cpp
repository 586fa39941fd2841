#include "data/settings.h"

#include <type_traits>
#include <variant>
#include <vector>

#include "data/ini_file_update.h"
#include "data/profile_text.h"

namespace {

constexpr wchar_t kSection[] = L"main";
constexpr wchar_t kFileName[] = L"conf.ini";

// Misspelled keys of older versions: read so that an old file is accepted, removed
// by the next save.
constexpr wchar_t kOldAutoDockKey[] = L"bAutoDick";
constexpr wchar_t kOldDockCornerKey[] = L"bDickCorner";

struct Key {
  const wchar_t* name;
  std::variant<bool Settings::*, int Settings::*, std::wstring Settings::*> field;
  int number = 0;               // file default of a flag or number
  const wchar_t* text = L"";    // file default of a string
};

// Every stored key in the order the file is written.
const Key kKeys[] = {
    {L"bAutoRun", &Settings::bAutoRun, 0},
    {L"bShowTitle", &Settings::bShowTitle, 1},
    {L"bShowGroup", &Settings::bShowGroup, 1},
    {L"bShowTag", &Settings::bShowTag, 1},
    {L"bLnkNameSingleline", &Settings::bLnkNameSingleline, 0},
    {L"bShowTooltip", &Settings::bShowTooltip, 1},
    {L"bAutoDock", &Settings::bAutoDock, 1},
    {L"bDockCorner", &Settings::bDockCorner, 0},
    {L"nDockDelay", &Settings::nDockDelay, 0},
    {L"bHideOnStart", &Settings::bHideOnStart, 0},
    {L"bTopMost", &Settings::bTopMost, 1},
    {L"bHideAfterLink", &Settings::bHideAfterLink, 0},
    {L"bHideUnhot", &Settings::bHideUnhot, 0},
    {L"bMButtonMain", &Settings::bMButtonMain, 0},
    {L"bDoubleDeskMain", &Settings::bDoubleDeskMain, 0},
    {L"bDoubleTaskMain", &Settings::bDoubleTaskMain, 0},
    {L"bFollowMouse", &Settings::bFollowMouse, 0},
    {L"bDoubleClick", &Settings::bDoubleClick, 0},
    {L"bFullScreenMode", &Settings::bFullScreenMode, 0},
    {L"bDelConfirm", &Settings::bDelConfirm, 1},
    {L"bSaveRunCount", &Settings::bSaveRunCount, 1},
    {L"bRunCount", &Settings::bRunCount, 1},
    {L"bHideNotify", &Settings::bHideNotify, 0},
    {L"bShowDate", &Settings::bShowDate, 1},
    {L"bShowBtnSearch", &Settings::bShowBtnSearch, 1},
    {L"bShowBtnMenu", &Settings::bShowBtnMenu, 1},
    {L"bShowBtnSkin", &Settings::bShowBtnSkin, 0},
    {L"bShowCombineMode", &Settings::bShowCombineMode, 0},
    {L"bMouseEnterActiveGroup", &Settings::bMouseEnterActiveGroup, 0},
    {L"bMouseEnterActiveTag", &Settings::bMouseEnterActiveTag, 0},
    {L"nActiveGroupDelay", &Settings::nActiveGroupDelay, 0},
    {L"nActiveTagDelay", &Settings::nActiveTagDelay, 0},
    {L"nCurGroup", &Settings::nCurGroup, 0},
    {L"nCurTag", &Settings::nCurTag, 0},
    {L"nMainHotKey", &Settings::nMainHotKey, 0},
    {L"nWidth", &Settings::nWidth, 388},
    {L"nHeight", &Settings::nHeight, 640},
    {L"nPosX", &Settings::nPosX, 2},
    {L"nPosY", &Settings::nPosY, 0},
    {L"nGroupWidth", &Settings::nGroupWidth, 72},
    {L"bAutoGroupWidth", &Settings::bAutoGroupWidth, 0},
    {L"nTagWidth", &Settings::nTagWidth, 72},
    {L"bAutoTagHeight", &Settings::bAutoTagHeight, 0},
    {L"nAttrWidth", &Settings::nAttrWidth, 0},
    {L"nAttrHeight", &Settings::nAttrHeight, 0},
    {L"nVersion", &Settings::nVersion, 0},
    {L"nSearchX", &Settings::nSearchX, -1},
    {L"nSearchY", &Settings::nSearchY, -1},
    {L"nSearchHotKey", &Settings::nSearchHotKey, 0},
    {L"nSearchCount", &Settings::nSearchCount, 0},
    {L"bOpenFileSearch", &Settings::bOpenFileSearch, 0},
    {L"bFocusSearch", &Settings::bFocusSearch, 0},
    {L"nAlpha", &Settings::nAlpha, 255},
    {L"bGroupRight", &Settings::bGroupRight, 0},
    {L"bTagRight", &Settings::bTagRight, 0},
    {L"TagAlign", &Settings::TagAlign, 0, L"center"},
    {L"Theme", &Settings::Theme, 0, L"gray"},
    {L"OpenDirCmd", &Settings::OpenDirCmd, 0, L""},
};

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L".\\";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

int ReadNumber(const wchar_t* key, int fileDefault, const std::wstring& file) {
  return static_cast<int>(GetPrivateProfileIntW(kSection, key, fileDefault, file.c_str()));
}

std::wstring ReadText(const wchar_t* key, const wchar_t* fileDefault, const std::wstring& file) {
  return ReadProfileText(file, kSection, key, fileDefault);
}

// Older versions kept the hot key's modifiers in bits 16 to 23.
constexpr int MigrateHotKey(int code) { return (((code >> 16) & 0xFF) << 8) | (code & 0xFF); }

}  // namespace

Settings::Settings(std::wstring folder) : folder_(folder.empty() ? ProgramFolder() : std::move(folder)) {
  if (folder_.back() != L'\\' && folder_.back() != L'/') folder_.push_back(L'\\');
  filePath_ = folder_ + kFileName;
}

void Settings::EnterFolder() const { SetCurrentDirectoryW(folder_.c_str()); }

void Settings::Load() {
  EnterFolder();
  // The old keys go into the docking fields first and are then overwritten by the
  // current keys, read with the same defaults.
  bAutoDock = ReadNumber(kOldAutoDockKey, 1, filePath_) != 0;
  bDockCorner = ReadNumber(kOldDockCornerKey, 0, filePath_) != 0;
  for (const Key& key : kKeys) {
    std::visit(
        [&](auto field) {
          using Field = std::remove_reference_t<decltype(this->*field)>;
          if constexpr (std::is_same_v<Field, bool>) {
            this->*field = ReadNumber(key.name, key.number, filePath_) != 0;
          } else if constexpr (std::is_same_v<Field, int>) {
            this->*field = ReadNumber(key.name, key.number, filePath_);
          } else {
            this->*field = ReadText(key.name, key.text, filePath_);
          }
        },
        key.field);
  }
  if (nMainHotKey > 0xFFFF) {
    nMainHotKey = MigrateHotKey(nMainHotKey);
    UpdateIniFile(filePath_, kSection, {{L"nMainHotKey", std::to_wstring(nMainHotKey)}});
  }
}

bool Settings::Save() {
  EnterFolder();
  nVersion = kFileVersion;
  std::vector<IniEntry> entries;
  for (const Key& key : kKeys) {
    std::visit(
        [&](auto field) {
          using Field = std::remove_reference_t<decltype(this->*field)>;
          if constexpr (std::is_same_v<Field, bool>) {
            entries.push_back({key.name, (this->*field) ? L"1" : L"0"});
          } else if constexpr (std::is_same_v<Field, int>) {
            entries.push_back({key.name, std::to_wstring(this->*field)});
          } else {
            entries.push_back({key.name, IniValueText(this->*field)});
          }
        },
        key.field);
  }
  // One replacement of the whole file: a kill or a failure halfway leaves the old
  // file as it was instead of a mix of old and new keys. Entries of other sections
  // and keys this version does not know stay.
  return UpdateIniFile(filePath_, kSection, entries, {kOldAutoDockKey, kOldDockCornerKey});
}

Settings& GetSettings() {
  static Settings settings;
  return settings;
}
