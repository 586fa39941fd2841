// The icon picker of the link editor: every icon of a file as a grid of tiles.
// It hands back an icon spec: the file's path, followed by "," and the icon's
// index when the index is above 0.
#pragma once

#include <memory>
#include <string>

#include "app/dialogs/dialog_wnd.h"

namespace ui {
class Control;
class ListBox;
class RichEdit;
struct EventArgs;
}  // namespace ui

class CIconWnd : public CDialogWnd {
 public:
  std::wstring GetWindowClassName() const override { return L"IconWnd"; }
  void InitWindow() override;
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"iconwnd.xml"; }
  virtual bool OnPathReturn(ui::EventArgs* event);
  virtual bool OnClick(ui::EventArgs* event);

  // Made by the opener holding the current icon text; read back after 1.
  void SetIconSpec(std::shared_ptr<std::wstring> spec) { spec_ = std::move(spec); }
  // Shows the icon source's file in "filepath" and its icons in the grid.
  void FillIconGrid(const std::wstring& spec);
  ui::ListBox* GetIconBox() const { return iconBox_; }

 private:
  // False, with the grid left as it was, when the file does not exist.
  bool ShowFile(const std::wstring& path);

  // What OK hands back for the field's text: the text is shown first when the
  // grid shows another file, as Return would show it.
  std::wstring ChosenSpec();

  std::shared_ptr<std::wstring> spec_;
  // The path (as given, before resolution) whose icons the grid shows.
  std::wstring shownPath_;
  // The last spec whose file was not found, whole with its own index: the field
  // shows its path, and OK hands it back as it came rather than a bare path.
  std::wstring missingSpec_;
  ui::RichEdit* pathEdit_ = nullptr;
  ui::ListBox* iconBox_ = nullptr;
};
