// Puts a long note into the note editor in time slices. The text services wrap
// what they are given as it goes in, and how long that takes depends on the
// note's lines and on the text services (a few thousand short lines took seconds
// under some): a fixed amount per turn would still freeze the window. Each slice
// appends pieces that end at line ends, so each one wraps only its own lines,
// until a few milliseconds of measured work are spent; slices come from a timer,
// which lets the window paint and answer between them.
//
// What is not in yet stays readable (Rest), so that whoever reads or saves the
// note gets it whole without waiting for it to go in; the user may type into
// the part already shown meanwhile, and the rest still follows at the end.
#pragma once

#include <string>

namespace ui {
class RichEdit;
}

class NoteFiller {
 public:
  // The work one slice does at most, in milliseconds (a piece started before
  // the end still finishes).
  static constexpr double kSliceMs = 8.0;

  // Empties `editor`, gives it a limit that holds `text` with room to type, and
  // puts in a first slice of `text`. Gives true when some of it is left for Step.
  bool Start(ui::RichEdit* editor, const std::wstring& text);
  // Appends the next slice at the end, leaving the user's caret, selection, view
  // and own changes (the editor's modified flag) as they are. True while text is left.
  bool Step();
  // Forgets what is left (the editor is getting another text).
  void Cancel();
  bool Pending() const { return editor_ != nullptr; }
  // Text to go in after everything left (a drop onto the note while it fills).
  void AppendLater(const std::wstring& text) { text_ += text; }
  // What is still to go in, as the editor would hold it: paragraphs end with a
  // lone CR.
  std::wstring Rest() const;

  // `text` as the editor holds it: CR LF and a lone LF become CR.
  static std::wstring EditorForm(const std::wstring& text);

 private:
  // The end of a piece starting at `from` of about `size` characters: just after
  // the first line end at or past `from` + `size`, or the end of the text; a line
  // far longer is cut (never inside a CR LF or a surrogate pair).
  size_t PieceEnd(size_t from, size_t size) const;

  ui::RichEdit* editor_ = nullptr;
  std::wstring text_;
  size_t next_ = 0;
  // Characters a piece takes, from the speed measured so far: a slice spends its
  // time in a few pieces and ends close to its budget.
  size_t pieceSize_ = kFirstPiece;
  static constexpr size_t kFirstPiece = 1024;
  static constexpr size_t kSmallestPiece = 64;
  static constexpr size_t kLargestPiece = 1 << 16;
};
