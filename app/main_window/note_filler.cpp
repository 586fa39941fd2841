#include "app/main_window/note_filler.h"

#include <richedit.h>

#include "ui/controls/rich_edit.h"

bool NoteFiller::Start(ui::RichEdit* editor, const std::wstring& text) {
  Cancel();
  if (!editor) return false;
  if (text.size() <= kPiece) {
    editor->SetText(text);
    return false;
  }
  editor->SetText(L"");
  editor_ = editor;
  text_ = text;
  next_ = 0;
  return true;
}

size_t NoteFiller::PieceEnd(size_t from) const {
  for (size_t i = from + kPiece; i < text_.size(); ++i) {
    // A "\r\n" pair stays whole; a lone "\r" ends a line too (the editor's own form).
    if (text_[i] == L'\n' || (text_[i] == L'\r' && (i + 1 == text_.size() || text_[i + 1] != L'\n'))) return i + 1;
  }
  return text_.size();
}

void NoteFiller::Append(size_t from, size_t to) {
  long start = 0;
  long end = 0;
  editor_->GetSel(start, end);
  POINT view = {};
  editor_->TxSendMessage(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&view), nullptr);
  editor_->SetSel(-1, -1);
  editor_->ReplaceSel(text_.substr(from, to - from), false);
  editor_->SetSel(start, end);
  editor_->TxSendMessage(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&view), nullptr);
}

bool NoteFiller::Step() {
  if (!editor_) return false;
  const size_t end = PieceEnd(next_);
  Append(next_, end);
  next_ = end;
  if (next_ < text_.size()) return true;
  Cancel();
  return false;
}

void NoteFiller::Finish() {
  // Still a piece at a time: the text services take many pieces far sooner than
  // the same text in one (one insertion of 600 000 characters after a first piece
  // took minutes under Wine).
  while (Step()) {
  }
}

void NoteFiller::Cancel() {
  editor_ = nullptr;
  text_.clear();
  text_.shrink_to_fit();
  next_ = 0;
}
