#include "app/desktop/window_alpha.h"

#include <algorithm>

#include "data/settings.h"
#include "ui/controls/menu_mgr.h"

int EffectiveAlpha(int storedAlpha) { return std::clamp(storedAlpha, 128, 255); }

int LauncherWindowAlpha() { return EffectiveAlpha(GetSettings().nAlpha); }

void ApplyMenuAlpha() { ui::CMenuMgr::SetMenuAlpha(LauncherWindowAlpha()); }
