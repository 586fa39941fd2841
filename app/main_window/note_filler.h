// Puts a long note into the note editor a piece at a time. The text services wrap
// what they are given at once, and a note of hundreds of thousands of characters
// set before the window shows kept it from showing (the wrap takes seconds under
// some text services, and was done twice when the editor had no size yet). Pieces
// end at line ends, so each one wraps only its own lines, and go in from a timer,
// which lets the window paint and answer between them.
#pragma once

#include <string>

namespace ui {
class RichEdit;
}

class NoteFiller {
 public:
  // A note this long or shorter is set in one go.
  static constexpr size_t kPiece = 16384;

  // Empties `editor` and starts filling it with `text`; a short text is set at
  // once. Gives true when pieces are left for Step.
  bool Start(ui::RichEdit* editor, const std::wstring& text);
  // Appends the next piece at the end, leaving the user's caret, selection and
  // view where they are. Gives true while pieces are left.
  bool Step();
  // Appends everything that is left: whoever reads or changes the note sees it whole.
  void Finish();
  // Forgets what is left (the editor is getting another text).
  void Cancel();
  bool Pending() const { return editor_ != nullptr; }

 private:
  // The end of the piece starting at `from`: just after the first line end at or
  // past `from` + kPiece, or the end of the text.
  size_t PieceEnd(size_t from) const;
  void Append(size_t from, size_t to);

  ui::RichEdit* editor_ = nullptr;
  std::wstring text_;
  size_t next_ = 0;
};
