#include "app/dialogs/icon_wnd.h"

#include <cstdio>
#include <cwchar>

#include "app/controls/app_control_factory.h"
#include "app/desktop/window_alpha.h"
#include "app/dialogs/file_dialog.h"
#include "data/icon_cache.h"
#include "data/link_path.h"
#include "data/settings.h"
#include "data/shell_icons.h"
#include "ui/base/scoped_handles.h"
#include "ui/base/ui_globals.h"
#include "ui/controls/list_box.h"
#include "ui/controls/list_container_element.h"
#include "ui/controls/rich_edit.h"
#include "ui/core/event_args.h"
#include "ui/core/tile_layout.h"

namespace {

constexpr wchar_t kTileTemplate[] = L"main/item_tile32_icon.xml";
constexpr wchar_t kShell32[] = L"%windir%\\system32\\shell32.dll";
constexpr wchar_t kImageres[] = L"%windir%\\system32\\imageres.dll";

std::wstring LowerAscii(std::wstring text) {
  for (wchar_t& ch : text) {
    if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch - L'A' + L'a');
  }
  return text;
}

std::wstring Extension(const std::wstring& path) {
  const size_t dot = path.find_last_of(L'.');
  const size_t slash = path.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return {};
  return path.substr(dot);
}

// Icon i of the file at 16, 32 and 48 pixels into the cache under "i"; an icon
// not given at all three sizes gets no entry.
void CacheIconAt(const std::wstring& file, int index) {
  const std::wstring key = std::to_wstring(index);
  IconCache& cache = GetIconCache();
  cache.RemoveMemoryEntry(key);
  ui::UniqueIcon icons[3];
  const int sizes[3] = {16, 32, 48};
  bool all = true;
  for (int i = 0; i < 3; ++i) {
    HICON icon = nullptr;
    UINT id = 0;
    const UINT got = PrivateExtractIconsW(file.c_str(), index, sizes[i], sizes[i], &icon, &id, 1, 0);
    icons[i].reset(icon);
    if (got != 1 || !icon) all = false;
  }
  if (all) cache.AddIconToCache(key, icons[0].get(), icons[1].get(), icons[2].get());
}

// A file without icon resources: its picture, or its shell icon, under "0".
void CacheFilePicture(const std::wstring& file, int shellIndex) {
  IconCache& cache = GetIconCache();
  cache.RemoveMemoryEntry(L"0");
  const std::wstring ext = Extension(file);
  if (ext == L".ico") {
    cache.AddIcoToCache(file, L"0");
  } else if (ext == L".png") {
    cache.AddPngToCache(file, L"0");
  } else if (ext == L".svg") {
    cache.AddSvgFileToCache(file, L"0");
  } else if (ext == L".webp") {
    cache.AddWebpToCache(file, L"0");
  } else {
    cache.AddSysIconToCache(L"0", shellIndex);
  }
}

}  // namespace

void CIconWnd::InitWindow() {
  SetWindowAlpha(LauncherWindowAlpha());
  pathEdit_ = dynamic_cast<ui::RichEdit*>(FindControlByName(L"filepath"));
  iconBox_ = dynamic_cast<ui::ListBox*>(FindControlByName(L"iconbox"));
  const auto onClick = ToWeakCallback([this](ui::EventArgs* e) { return OnClick(e); });
  for (const wchar_t* name : {L"btn_ok", L"btn_cancel", L"btn_path", L"btn_shell32", L"btn_imageres"}) {
    if (ui::Control* button = FindControlByName(name)) button->AttachClick(onClick);
  }
  if (pathEdit_) {
    pathEdit_->AttachReturnEvent(ToWeakCallback([this](ui::EventArgs* e) { return OnPathReturn(e); }));
  }
  // The picker opens on the file of the current icon.
  if (spec_) FillIconGrid(*spec_);
}

void CIconWnd::FillIconGrid(const std::wstring& spec) {
  if (spec.empty()) return;
  std::printf("IconWnd:AddPathToCache %ls\n", spec.c_str());
  std::wstring path = spec;
  long wanted = 0;
  if (const size_t comma = spec.find_last_of(L','); comma != std::wstring::npos) {
    path = spec.substr(0, comma);
    wanted = std::wcstol(spec.c_str() + comma + 1, nullptr, 10);
  }
  if (path.empty()) return;
  if (pathEdit_) pathEdit_->SetText(path);
  // A path that names no file leaves the grid and its selection as they were.
  if (!ShowFile(LowerAscii(ResolveLinkPath(path)))) {
    missingSpec_ = spec;
    return;
  }
  shownPath_ = path;
  missingSpec_.clear();
  if (!iconBox_ || iconBox_->GetCount() == 0) return;
  // The file may have changed: select the wanted icon, or the first.
  const int selected = wanted >= 0 && wanted < iconBox_->GetCount() ? static_cast<int>(wanted) : 0;
  iconBox_->SelectItem(selected, false, true);
  // A far icon is scrolled to, once the new tiles have their places.
  iconBox_->EnsureVisible(selected);
  iconBox_->Invalidate();
}

bool CIconWnd::ShowFile(const std::wstring& file) {
  int shellIndex = 0;
  if (!GetItemIconIndex(file, shellIndex)) return false;
  const UINT count = PrivateExtractIconsW(file.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0);
  const int tiles = (count == 0 || count == 0xFFFFFFFF) ? 1 : static_cast<int>(count);
  if (tiles == 1 && (count == 0 || count == 0xFFFFFFFF)) {
    CacheFilePicture(file, shellIndex);
  } else {
    for (int i = 0; i < tiles; ++i) CacheIconAt(file, i);
  }
  if (!iconBox_) return true;
  iconBox_->RemoveAll();
  // Another file's icons are seen from their first column on.
  iconBox_->SetScrollPos({0, 0});
  const std::wstring errorImage = IconCache::MakeImageKey(L"#err", IconCache::kSize16);
  for (int i = 0; i < tiles; ++i) {
    auto* tile = new ui::ListContainerElement;
    ui::UiGlobals::FillBoxFromXml(tile, kTileTemplate, CreateAppControl);
    if (iconBox_->GetCount() == 0) {
      if (auto* layout = dynamic_cast<ui::TileLayout*>(iconBox_->GetLayout())) {
        layout->SetItemSize({tile->GetFixedWidth(), tile->GetFixedHeight()}, true);
      }
    }
    const std::wstring image = IconCache::MakeImageKey(std::to_wstring(i), IconCache::kSize32);
    if (ui::Control* icon = tile->FindChildByName(L"item_icon")) {
      if (IconCache::IsCached(image)) {
        icon->SetBkImage(image);
      } else if (IconCache::IsCached(errorImage)) {
        icon->SetBkImage(errorImage);
      }
    }
    if (ui::Control* text = tile->FindChildByName(L"item_text")) text->SetAttribute(L"text", std::to_wstring(i));
    iconBox_->Add(tile);
  }
  return true;
}

std::wstring CIconWnd::ChosenSpec() {
  std::wstring text = pathEdit_ ? pathEdit_->GetText() : shownPath_;
  // An emptied field asks for no icon of its own.
  if (text.empty()) return {};
  // The path part of the last spec whose file was not found is what the field
  // shows for it.
  auto namesMissingSpec = [this](const std::wstring& path) {
    return !missingSpec_.empty() && missingSpec_.substr(0, missingSpec_.find_last_of(L',')) == path;
  };
  // A path typed (or pasted) without Return is taken as Return takes it.
  if (text != shownPath_ && !namesMissingSpec(text)) {
    FillIconGrid(text);
    if (pathEdit_) text = pathEdit_->GetText();
  }
  if (text == shownPath_) {
    const int index = iconBox_ ? iconBox_->GetCurSel() : -1;
    return index > 0 ? text + L"," + std::to_wstring(index) : text;
  }
  // A text that names no file goes back as it was given, with its own index if
  // it had one: a selected tile belongs to the file the grid still shows.
  return namesMissingSpec(text) ? missingSpec_ : text;
}

bool CIconWnd::OnPathReturn(ui::EventArgs*) {
  if (pathEdit_) FillIconGrid(pathEdit_->GetText());
  return true;
}

bool CIconWnd::OnClick(ui::EventArgs* event) {
  if (!event || !event->pSender) return true;
  const std::wstring name = event->pSender->GetName();
  if (name == L"btn_ok") {
    if (spec_) *spec_ = ChosenSpec();
    Close(kResultOk);
  } else if (name == L"btn_cancel") {
    Close(kResultCancel);
  } else if (name == L"btn_shell32") {
    FillIconGrid(kShell32);
  } else if (name == L"btn_imageres") {
    FillIconGrid(kImageres);
  } else if (name == L"btn_path") {
    std::wstring folder = pathEdit_ ? ResolveLinkPath(pathEdit_->GetText()) : std::wstring();
    const size_t slash = folder.find_last_of(L'\\');
    folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
    const std::wstring chosen = ChooseFileToOpen(GetHWND(), AllFilesFilter(), folder);
    if (!chosen.empty()) FillIconGrid(chosen);
  }
  return true;
}
