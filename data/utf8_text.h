// UTF-8 text of the databases read into UTF-16 strings. Every name, path and remark
// of the link database passes through here when it loads, so well-formed text is
// decoded in place; anything else is left to the platform's conversion.
#pragma once

#include <string>
#include <string_view>

// Replaces `out` with the bytes decoded, embedded zeros included. The result is what
// MultiByteToWideChar gives for UTF-8, invalid sequences included; `out`'s buffer is
// reused when it is large enough.
void AssignUtf8(std::string_view bytes, std::wstring& out);
