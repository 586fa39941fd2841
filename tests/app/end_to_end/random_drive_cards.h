// The random drive's card commands, link chords and search window, on stand-in
// programs: copies of launch_probe dropped on the card area ("p<N>\p<N>.exe", one
// folder each, so that each keeps its own probe_log.txt and every start is told
// apart). A start is seen in the probe's log and counted in the model as the
// program counts it; a start of any other probe meanwhile is a fault.
// - card: 以管理员身份运行 from the card menu, a double click, 编辑 in the link
//   editor (a new name typed or pasted, the old one copied into the remark first,
//   OK or cancelled).
// - chord: a global chord given to a stand-in through the editor's hot-key field,
//   then fired with nothing up, over the card menu, over the link box menu or over
//   the question box of a deletion (the link starts and counts in each: every one
//   of these loops dispatches the chord's message).
// - search: a link's name typed or pasted (and copied back) in the search window,
//   its row's menu opened, letters typed under it, then Escape or 以管理员身份运行;
//   Enter on a stand-in's row.
#pragma once

#include <vector>

#include "tests/app/end_to_end/random_drive.h"

namespace drive {
namespace cards {

// Notes, as a run starts, which chords it registered.
void FollowStart(RandomDrive& d);

}  // namespace cards

std::vector<Action> CardsActions();

}  // namespace drive
