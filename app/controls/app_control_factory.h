// The launcher's control factory, handed to the framework at start-up: the
// skin builder asks it for class names outside its own table.
#pragma once

#include <string>

namespace ui {
class Control;
}

// A new control for the class name, owned by the caller; null for a name the
// launcher does not make.
ui::Control* CreateAppControl(const std::wstring& className);
