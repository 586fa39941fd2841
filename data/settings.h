// The user's preferences, kept in section "main" of "conf.ini" in the program
// folder, plus the window and hook handles the launcher keeps beside them.
// Fields are named after their keys; the launcher reads and changes them directly
// and nothing here validates or clamps a value. User-interface thread only.
#pragma once

#include <windows.h>

#include <string>

class Settings {
 public:
  // Version number every save writes into "nVersion".
  static constexpr int kFileVersion = 10805;

  // Settings kept in "conf.ini" inside `folder`; an empty folder means the folder of
  // the running executable.
  explicit Settings(std::wstring folder = {});

  // Reads every stored field, taking the default for each key the file lacks.
  // A missing or unreadable file is no error. Handles are not touched.
  void Load();
  // Writes every stored field in the fixed key order, "nVersion" as kFileVersion,
  // and removes the old misspelled keys; other sections and keys of the file stay.
  // The new file replaces the old one whole. False, with the file as it was, when
  // it could not be read or replaced (locked, read-only, disk full).
  bool Save();

  const std::wstring& FilePath() const { return filePath_; }

  // Not stored.
  bool mouseButtonHotKeyInUse = false;  // a link's hot key uses a mouse side button
  HHOOK hMouseHook = nullptr;
  HWND hMainWnd = nullptr;
  HWND hDesktopWnd = nullptr;
  HWND hProgmanWnd = nullptr;
  HWND hTrayWnd = nullptr;
  HWND hTrayNotifyWnd = nullptr;

  // Stored; until the first Load they hold the file defaults except where noted.
  bool bAutoRun = false;
  bool bShowTitle = true;
  bool bShowGroup = true;
  bool bShowTag = true;
  bool bLnkNameSingleline = false;
  bool bShowTooltip = true;
  bool bTopMost = true;
  bool bHideOnStart = false;
  bool bAutoDock = true;
  bool bDockCorner = false;
  int nDockDelay = 0;
  bool bHideAfterLink = false;
  bool bHideUnhot = false;
  bool bMButtonMain = false;
  bool bDoubleDeskMain = false;
  bool bDoubleTaskMain = false;
  bool bFollowMouse = false;
  bool bDoubleClick = false;
  bool bFullScreenMode = false;
  bool bDelConfirm = true;
  bool bSaveRunCount = true;
  bool bRunCount = true;
  bool bHideNotify = false;
  bool bShowDate = true;
  bool bShowBtnSearch = true;
  bool bShowBtnMenu = true;
  bool bShowBtnSkin = false;
  bool bShowCombineMode = false;
  bool bMouseEnterActiveGroup = false;
  bool bMouseEnterActiveTag = false;
  int nActiveGroupDelay = 0;
  int nActiveTagDelay = 0;
  int nCurGroup = 0;
  int nCurTag = 0;
  int nMainHotKey = 0;     // hot-key code: modifiers in bits 8 to 15, virtual key in 0 to 7
  int nWidth = 0;          // file default 388
  int nHeight = 0;         // file default 640
  int nPosX = 0;           // file default 2
  int nPosY = 0;
  int nGroupWidth = 72;
  bool bAutoGroupWidth = false;
  int nTagWidth = 72;
  bool bAutoTagHeight = false;
  int nVersion = 0;
  bool bGroupRight = false;
  bool bTagRight = false;
  std::wstring TagAlign = L"center";
  std::wstring Theme = L"gray.xml";  // file default "gray"
  std::wstring OpenDirCmd;
  int nAttrWidth = 0;
  int nAttrHeight = 0;
  int nSearchX = -1;
  int nSearchY = -1;
  int nSearchHotKey = 0;
  int nSearchCount = 0;
  bool bOpenFileSearch = false;
  bool bFocusSearch = false;
  int nAlpha = 255;

 private:
  void EnterFolder() const;

  std::wstring folder_;
  std::wstring filePath_;
};

// The process-wide settings of the program folder, created on first use.
Settings& GetSettings();
