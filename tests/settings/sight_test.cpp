#include <gtest/gtest.h>

#include "desktop/sight.h"

namespace quibbix::desktop {
namespace {

// What each manager here leaves on a window it has put away, and on one it
// has only just taken over, as read from the X server.
TEST(Sight, OutOfSightIsWhatTheManagerSaysOfAnUnmappedWindow) {
  using S = ManagerView::State;
  struct Case {
    const char* what;
    ManagerView view;
    bool out;
  };
  const Case cases[] = {
      {"shown", {S::Normal, false, 0, 0, true}, false},
      {"minimised", {S::Iconic, true, 0, 0, false}, true},
      {"another workspace under Openbox (iconic)", {S::Iconic, false, 1, 0, false}, true},
      {"another workspace under i3 (mapped, frame hidden)",
       {S::Withdrawn, false, 0, 1, false},
       true},
      {"shaded or hidden, state Normal", {S::Normal, true, 0, 0, false}, true},
      {"on every workspace", {S::Normal, false, 0xffffffffUL, 1, false}, false},
      // A manager starting after the game reparents it: unmapped, but nobody
      // put it away.
      {"taken over by a new manager", {S::None, false, {}, {}, false}, false},
      {"taken over from an earlier manager", {S::Normal, false, 0, 0, false}, false},
      // i3 with a monitor each: another workspace, and still in sight.
      {"mapped on another monitor's workspace", {S::Normal, false, 1, 0, true}, false},
      // Mutter composites: what it minimises or sends away stays mapped.
      {"minimised under Mutter", {S::Iconic, true, 0, 0, true}, true},
      {"another workspace under Mutter", {S::Iconic, false, 1, 0, true}, true},
      {"another workspace under xfwm4 or icewm", {S::Normal, false, 1, 0, false}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(outOfSight(c.view), c.out) << c.what;
}

}  // namespace
}  // namespace quibbix::desktop
