// The link editor: every property of one stored link, its card colour, icon and
// hot key. OK changes the link in memory and re-registers its hot key; the
// opener stores it and rebuilds the cards.
#pragma once

#include <memory>
#include <string>

#include "app/dialogs/dialog_wnd.h"

struct Link;

namespace ui {
class RichEdit;
struct EventArgs;
}  // namespace ui

class CEditWnd : public CDialogWnd {
 public:
  std::wstring GetWindowClassName() const override { return L"EditWnd"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void InitWindow() override;
  LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"filewnd.xml"; }
  virtual bool OnClick(ui::EventArgs* event);
  bool OnColorTextChange(ui::EventArgs* event);

  void SetLink(std::shared_ptr<Link> link) { link_ = std::move(link); }

 private:
  void FillFields();
  void ApplyTypeStates();
  bool AcceptOk();
  void ShowColor(const std::wstring& text);
  void ChooseIcon();
  void PickColor();

  std::shared_ptr<Link> link_;
  ui::RichEdit* colorEdit_ = nullptr;
  int sizing_ = 0;
};

// Card colour texts as the link editor accepts them.
// Empty (no colour), "#" followed by exactly 8 hexadecimal digits, or a name the
// colour table knows. "#" with anything else, such as "#gggggggg", is refused.
bool IsAcceptedLinkColor(const std::wstring& text);
// True for "#" followed by exactly 8 hexadecimal digits.
bool IsArgbColorText(const std::wstring& text);
