// Interface ids of the windowless text services. MinGW's import libraries resolve
// IID_ITextServices and IID_ITextHost to code rather than to GUID data, so a
// QueryInterface with them would hand the library garbage; the project keeps its
// own copies instead.
#pragma once

#include <windows.h>

namespace ui {

// {8D33F740-CF58-11CE-A89D-00AA006CADC5}
extern const IID kIidTextServices;
// {C5BDD8D0-D26E-11CE-A89E-00AA006CADC5}
extern const IID kIidTextHost;

}  // namespace ui
