// Interface ids of the windowless text services. MinGW's import libraries resolve
// IID_ITextServices and IID_ITextHost to code rather than to GUID data, so a
// QueryInterface with them would hand the library garbage; the project keeps its
// own copies instead.
#pragma once

#include <windows.h>

namespace ui {

// {8D33F740-CF58-11CE-A89D-00AA006CADC5}
inline constexpr IID kIidTextServices = {
    0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
// {C5BDD8D0-D26E-11CE-A89E-00AA006CADC5}
inline constexpr IID kIidTextHost = {
    0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

}  // namespace ui
