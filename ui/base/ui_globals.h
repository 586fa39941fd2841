// The framework's process-wide state: resource path, skin archive, render
// factory, create-control callback, and the colour, font and class tables that
// skin XML fills and every control reads. Static functions over static tables;
// everything runs on the user-interface thread.
#pragma once

#include <string>

namespace ui {

class UiGlobals {
 public:
  UiGlobals() = delete;

  // Stores the folder of the current skin; a non-empty path gets a trailing
  // "\" unless it already ends in "\" or "/".
  static void SetResourcePath(const std::wstring& path);
  static const std::wstring& GetResourcePath();
};

}  // namespace ui
