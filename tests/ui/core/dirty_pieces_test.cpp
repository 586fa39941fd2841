// The pieces a window repaints: they never overlap, neighbours that make one
// rectangle become it, too many become their bounding box, and they tell whether
// they cover a region the window system holds dirty.
#include "ui/core/dirty_pieces.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/base/scoped_handles.h"

namespace {

std::vector<RECT> PiecesOf(const ui::DirtyPieces& pieces) { return {pieces.begin(), pieces.end()}; }

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST(DirtyPiecesTest, OverlappingAndAdjoiningPiecesMergeDistantOnesStayApart) {
  ui::DirtyPieces pieces;
  pieces.Add(RECT{4, 89, 68, 125});    // a tag
  pieces.Add(RECT{73, 83, 388, 640});  // the cards
  pieces.Add(RECT{4, 127, 68, 163});   // another tag, two pixels below the first
  pieces.Add(RECT{10, 10, 10, 40});    // empty: ignored
  ASSERT_EQ(pieces.Count(), 3u);

  // Right below the first tag along its whole width: one rectangle with it.
  pieces.Add(RECT{4, 125, 68, 127});
  std::vector<RECT> now = PiecesOf(pieces);
  ASSERT_EQ(now.size(), 2u);
  EXPECT_TRUE(Same(now[1], RECT{4, 89, 68, 163}));  // the three tag pieces merged in a chain

  // Overlapping the cards and the tags: everything becomes one piece.
  pieces.Add(RECT{60, 100, 80, 110});
  now = PiecesOf(pieces);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_TRUE(Same(now[0], RECT{4, 83, 388, 640}));

  const ui::DirtyPieces taken = pieces.Take();
  EXPECT_TRUE(pieces.Empty());
  EXPECT_EQ(taken.Count(), 1u);
}

TEST(DirtyPiecesTest, TooManyPiecesBecomeTheirBoundingBox) {
  ui::DirtyPieces pieces;
  for (int i = 0; i < static_cast<int>(ui::DirtyPieces::kMaxPieces); ++i) pieces.Add(RECT{i * 20, 0, i * 20 + 10, 10});
  EXPECT_EQ(pieces.Count(), ui::DirtyPieces::kMaxPieces);
  pieces.Add(RECT{0, 50, 10, 60});
  const std::vector<RECT> now = PiecesOf(pieces);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_TRUE(Same(now[0], RECT{0, 0, 70, 60}));
}

TEST(DirtyPiecesTest, CoverTellsWhetherEveryPixelOfTheRegionIsInAPiece) {
  ui::DirtyPieces pieces;
  pieces.Add(RECT{0, 0, 10, 10});
  pieces.Add(RECT{20, 0, 30, 10});
  ui::UniqueRegion inside(CreateRectRgn(2, 2, 8, 8));
  ui::UniqueRegion both(CreateRectRgn(20, 0, 30, 10));
  CombineRgn(both.get(), both.get(), inside.get(), RGN_OR);
  ui::UniqueRegion between(CreateRectRgn(5, 0, 25, 10));
  EXPECT_TRUE(pieces.Cover(inside.get()));
  EXPECT_TRUE(pieces.Cover(both.get()));
  EXPECT_FALSE(pieces.Cover(between.get())) << "the gap between the pieces is dirty too";
  EXPECT_FALSE(pieces.Cover(nullptr));
}

}  // namespace
