#include "app/main_window/note_filler.h"

#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <climits>

#include "ui/controls/rich_edit.h"

namespace {

// Room to type past the note's own length before the editor refuses more.
constexpr size_t kRoomToType = 1 << 20;

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f = {};
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now = {};
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

bool EndsLine(const std::wstring& text, size_t i) {
  // A "\r\n" pair stays whole; a lone "\r" ends a line too (the editor's own form).
  return text[i] == L'\n' || (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n'));
}

}  // namespace

std::wstring NoteFiller::EditorForm(const std::wstring& text) {
  std::wstring form;
  form.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    form += text[i] == L'\n' ? L'\r' : text[i];
  }
  return form;
}

bool NoteFiller::Start(ui::RichEdit* editor, const std::wstring& text) {
  Cancel();
  if (!editor) return false;
  // The default limit (32 767) would cut a long note on the way in.
  const size_t limit = std::min<size_t>(text.size() + kRoomToType, LONG_MAX);
  editor->SetMaxChar(static_cast<int>(std::max<size_t>(limit, ui::RichEdit::kDefaultMaxChar)));
  editor->SetText(L"");
  editor->SetModified(false);
  if (text.empty()) return false;
  editor_ = editor;
  text_ = text;
  next_ = 0;
  return Step();
}

size_t NoteFiller::PieceEnd(size_t from, size_t size) const {
  const size_t cut = std::min(from + size, text_.size());
  const size_t longest = std::min(from + size * 4, text_.size());
  for (size_t i = cut; i < longest; ++i) {
    if (EndsLine(text_, i)) return i + 1;
  }
  if (longest == text_.size()) return longest;
  size_t end = cut;
  if (end > from + 1 && text_[end - 1] == L'\r' && text_[end] == L'\n') --end;
  if (end > from + 1 && IS_HIGH_SURROGATE(text_[end - 1])) --end;
  return end;
}

bool NoteFiller::Step() {
  if (!editor_) return false;
  const double start = NowMs();
  // Appending moves the caret and the view to the end and marks the text
  // changed: all three are the user's and go back as they were.
  const bool modified = editor_->IsModified();
  long selStart = 0;
  long selEnd = 0;
  editor_->GetSel(selStart, selEnd);
  POINT view = {};
  editor_->TxSendMessage(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&view), nullptr);
  editor_->SetSel(-1, -1);
  double now = start;
  while (next_ < text_.size() && now - start < kSliceMs) {
    const size_t end = PieceEnd(next_, pieceSize_);
    const double before = now;
    editor_->ReplaceSel(text_.substr(next_, end - next_), false);
    now = NowMs();
    // The next piece takes about a quarter of a slice at the speed just seen.
    const double spent = std::max(now - before, 0.01);
    const double perMs = static_cast<double>(end - next_) / spent;
    pieceSize_ = std::clamp(static_cast<size_t>(perMs * kSliceMs / 4), kSmallestPiece, kLargestPiece);
    next_ = end;
  }
  editor_->SetSel(selStart, selEnd);
  editor_->TxSendMessage(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&view), nullptr);
  editor_->SetModified(modified);
  if (next_ < text_.size()) return true;
  Cancel();
  return false;
}

std::wstring NoteFiller::Rest() const {
  if (!editor_) return std::wstring();
  return EditorForm(text_.substr(next_));
}

void NoteFiller::Cancel() {
  editor_ = nullptr;
  text_.clear();
  text_.shrink_to_fit();
  next_ = 0;
  pieceSize_ = kFirstPiece;
}
