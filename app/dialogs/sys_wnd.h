// The picker of the built-in system functions: one tile per row of the system
// link table, in table order; a click on a tile records its row and closes the
// dialog with 1, and the opener adds that row as a link.
#pragma once

#include <cstdint>
#include <string>

#include "app/dialogs/dialog_wnd.h"

namespace ui {
class ListBox;
struct EventArgs;
}  // namespace ui

class CSysWnd : public CDialogWnd {
 public:
  std::wstring GetWindowClassName() const override { return L"SysWnd"; }
  void InitWindow() override;
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"sysfunc.xml"; }
  virtual bool OnItemClick(ui::EventArgs* event);

  // The chosen row of SystemLinkTable(), -1 until a tile is clicked.
  int32_t GetChosenRow() const { return chosenRow_; }
  ui::ListBox* GetSysBox() const { return sysBox_; }

 private:
  int32_t chosenRow_ = -1;
  ui::ListBox* sysBox_ = nullptr;
};
