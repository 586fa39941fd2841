// The pieces a window repaints: they never overlap, neighbours that make one
// rectangle become it, too many become their bounding box, and the bands of a
// region become the rectangles that made it.
#include "ui/core/dirty_rects.h"

#include <gtest/gtest.h>

#include <vector>


namespace {

std::vector<RECT> PiecesOf(const ui::DirtyRects& pieces) { return {pieces.begin(), pieces.end()}; }

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

TEST(DirtyRectsTest, OverlappingAndAdjoiningPiecesMergeDistantOnesStayApart) {
  ui::DirtyRects pieces;
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
}

TEST(DirtyRectsTest, TooManyPiecesBecomeTheirBoundingBox) {
  ui::DirtyRects pieces;
  for (int i = 0; i < static_cast<int>(ui::DirtyRects::kMaxPieces); ++i) pieces.Add(RECT{i * 20, 0, i * 20 + 10, 10});
  EXPECT_EQ(pieces.Count(), ui::DirtyRects::kMaxPieces);
  pieces.Add(RECT{0, 50, 10, 60});
  const std::vector<RECT> now = PiecesOf(pieces);
  ASSERT_EQ(now.size(), 1u);
  EXPECT_TRUE(Same(now[0], RECT{0, 0, 70, 60}));
}

TEST(DirtyRectsTest, TheBandsOfARegionBecomeTheRectanglesThatMadeIt) {
  // Two tags and the card area beside them, as the window system hands the
  // region back: in horizontal bands.
  ui::DirtyRects pieces;
  for (const RECT& band : {RECT{73, 83, 388, 89}, RECT{4, 89, 68, 125}, RECT{73, 89, 388, 125},
                           RECT{73, 125, 388, 127}, RECT{4, 127, 68, 163}, RECT{73, 127, 388, 163},
                           RECT{73, 163, 388, 640}}) {
    pieces.Add(band);
  }
  const std::vector<RECT> now = PiecesOf(pieces);
  ASSERT_EQ(now.size(), 3u);
  EXPECT_TRUE(Same(now[0], RECT{4, 89, 68, 125}));
  EXPECT_TRUE(Same(now[1], RECT{4, 127, 68, 163}));
  EXPECT_TRUE(Same(now[2], RECT{73, 83, 388, 640}));
}

}  // namespace
