// The recursive form of MakeLinkFromPath that the shortcut reader uses to make the
// link of a shortcut's target; `depth` counts the shortcuts followed so far.
#pragma once

#include <memory>
#include <string>

#include "data/link.h"

std::shared_ptr<Link> MakeLinkFromPathAtDepth(const std::wstring& path, int depth);
