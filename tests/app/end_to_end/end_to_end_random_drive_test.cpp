// A long random drive of the real Pexo.exe from outside: a seed picks each user
// action (see the random_drive_*.h headers), and a model of every group, tag,
// link, note and run count, and of the settings the drive chose, is checked every
// 50 actions and after each restart against link.db and conf.ini. Every close
// must end the program with 0. An action is done again only when its menu or
// dialog never came; every such retry is printed with its cause, and more than 2
// in 100 actions fail the drive. A failure prints the seed and the last actions
// so that the run can be replayed with PEXO_DRIVE_SEED.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/app/end_to_end/random_drive.h"
#include "tests/app/end_to_end/random_drive_basics.h"
#include "tests/app/end_to_end/random_drive_cards.h"
#include "tests/app/end_to_end/random_drive_groups.h"
#include "tests/app/end_to_end/random_drive_settings.h"

namespace {

// PEXO_DRIVE_ACTIONS sets another count (a short drive while changing the program).
constexpr int kDefaultActions = 1000;

TEST(RandomDriveTest, RandomUserActionsLeaveTheProgramAnsweringAndItsFilesAsDriven) {
  int actions = kDefaultActions;
  if (const char* count = std::getenv("PEXO_DRIVE_ACTIONS")) actions = std::max(1, std::atoi(count));
  const uint32_t seed = drive::DriveSeed();
  std::printf("random drive: seed %u, %d actions\n", seed, actions);
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));  // drops come from this thread
  const drive::UnmanagedWindowsUnderWine unmanaged;
  drive::RandomDrive run;
  ASSERT_TRUE(run.program().copied());
  run.AddActions(drive::BasicActions());
  run.AddActions(drive::GroupsActions());
  run.AddActions(drive::SettingsActions());
  run.AddActions(drive::CardsActions());
  run.AddStartHook(drive::cards::FollowStart);
  const DWORD start = GetTickCount();
  std::string failure;
  const bool passed = run.Run(actions, &failure);
  std::printf("random drive took %lu s; %s", (GetTickCount() - start) / 1000, run.RetrySummary().c_str());
  OleUninitialize();
  EXPECT_TRUE(passed) << failure << "\nseed " << seed << " (PEXO_DRIVE_SEED=" << seed
                      << " replays it); the last actions:\n"
                      << run.RecentActions();
}

}  // namespace
