#include "search_client/text_append.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace search_client {

namespace {

size_t Length(const char* text) { return std::strlen(text); }
size_t Length(const wchar_t* text) { return std::wcslen(text); }

// Writes `count` source units as output characters into `out` (at most out_size) and
// returns how many it writes; with a null `out` it only measures.
DWORD Convert(const char* source, int count, char* out, int out_size) {
  if (out) std::memcpy(out, source, count);
  return count;
}
DWORD Convert(const wchar_t* source, int count, wchar_t* out, int out_size) {
  if (out) std::memcpy(out, source, count * sizeof(wchar_t));
  return count;
}
DWORD Convert(const wchar_t* source, int count, char* out, int out_size) {
  const int written = WideCharToMultiByte(CP_ACP, 0, source, count, out, out_size, nullptr, nullptr);
  return written > 0 ? written : 0;
}
DWORD Convert(const char* source, int count, wchar_t* out, int out_size) {
  const int written = MultiByteToWideChar(CP_ACP, 0, source, count, out, out_size);
  return written > 0 ? written : 0;
}

// Source units of the character at `at`: a surrogate pair or a double-byte character
// stays whole.
int CharUnits(const wchar_t* at) { return IS_HIGH_SURROGATE(at[0]) && IS_LOW_SURROGATE(at[1]) ? 2 : 1; }
int CharUnits(const char* at) {
  return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(at[0])) && at[1] != 0 ? 2 : 1;
}

template <typename Out, typename In>
DWORD Append(Out* buffer, DWORD size, DWORD position, const In* piece) {
  const int units = static_cast<int>(std::min<size_t>(Length(piece), 0x7FFFFFFF));
  const DWORD length = units > 0 ? Convert(piece, units, static_cast<Out*>(nullptr), 0) : 0;
  if (length == 0) {
    if (buffer) buffer[position] = 0;
    return position;
  }
  const DWORD limit = buffer ? size - position - 1 : size - 1;
  DWORD take = std::min(length, limit);
  if (!buffer) return position + take;
  int source_units = units;
  if (take < length) {
    // The longest run of whole source characters whose output fits.
    DWORD fitting = 0;
    source_units = 0;
    while (source_units < units) {
      const int step = CharUnits(piece + source_units);
      const DWORD step_out = Convert(piece + source_units, step, static_cast<Out*>(nullptr), 0);
      if (fitting + step_out > take) break;
      fitting += step_out;
      source_units += step;
    }
    take = fitting;
  }
  if (take > 0) take = Convert(piece, source_units, buffer + position, static_cast<int>(take));
  buffer[position + take] = 0;
  return position + take;
}

}  // namespace

DWORD AppendPiece(char* buffer, DWORD size, DWORD position, const char* piece) {
  return Append(buffer, size, position, piece);
}
DWORD AppendPiece(wchar_t* buffer, DWORD size, DWORD position, const wchar_t* piece) {
  return Append(buffer, size, position, piece);
}
DWORD AppendPiece(char* buffer, DWORD size, DWORD position, const wchar_t* piece) {
  return Append(buffer, size, position, piece);
}
DWORD AppendPiece(wchar_t* buffer, DWORD size, DWORD position, const char* piece) {
  return Append(buffer, size, position, piece);
}

}  // namespace search_client
