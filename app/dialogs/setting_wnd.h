// The settings dialog: every preference of conf.ini's "main" section in a
// control named after its key, spread over pages chosen in a list. OK copies
// the controls into the settings and writes the file; putting the values into
// effect on the running windows is the opener's job. Cancel touches nothing.
#pragma once

#include <string>

#include "app/dialogs/dialog_wnd.h"

class Settings;

namespace ui {
class Control;
class HotKeyEdit;
class Slider;
struct EventArgs;
}  // namespace ui

// The caption of the alpha slider for a value.
std::wstring AlphaCaption(int alpha);
// Whether a theme file name names the stored theme: letter case aside, with or
// without its ".xml".
bool IsSameTheme(const std::wstring& fileName, const std::wstring& theme);
// The value of a number field: its decimal text, or `previous` when the text is
// empty, not a whole non-negative number (surrounding blanks are ignored) or
// below the field's least usable value `least`.
int NumberFieldValue(const std::wstring& text, int previous, int least = 0);

class CSettingWnd : public CDialogWnd {
 public:
  // The smallest tag list width: below it the tag names have no room at all.
  static constexpr int kMinTagWidth = 9;

  std::wstring GetWindowClassName() const override { return L"SettingWnd"; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void InitWindow() override;
  std::wstring GetSkinFolder() override { return L"main"; }
  std::wstring GetSkinFile() override { return L"setting.xml"; }
  virtual bool OnCategorySelect(ui::EventArgs* event);
  virtual bool OnAlphaChanged(ui::EventArgs* event);
  virtual bool OnClick(ui::EventArgs* event);

 private:
  void FillThemes(const std::wstring& theme);
  void FillControls(const Settings& settings);
  // Copies every control into the settings.
  void StoreControls(Settings& settings);

  ui::HotKeyEdit* hotKey_ = nullptr;
  ui::HotKeyEdit* searchHotKey_ = nullptr;
  ui::Control* alphaLabel_ = nullptr;
  ui::Slider* alphaSlider_ = nullptr;
};
