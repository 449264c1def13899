#include "typing/key_planner.h"

#include <gtest/gtest.h>

using namespace glidtavla;

namespace {

constexpr uint32_t kA = 'a', kCapitalA = 'A', kAring = 0xe5, kEuro = 0x20ac, kSection = 0xa7;

// Keycodes 10..14: a/A, then three empty keycodes, the last one 14.
std::vector<KeySlot> UsLike() {
    return {{kA, kCapitalA, false}, {'1', '!', false}, {}, {}, {}};
}

}  // namespace

TEST(KeyPlanner, UsesTheLayoutFirstAndBindsWhatItLacksFromTheTop) {
    KeyPlanner planner;
    planner.Update(10, UsLike(), true);
    EXPECT_EQ(planner.Plan(kA), (KeyStroke{10, false, false}));
    EXPECT_EQ(planner.Plan(kCapitalA), (KeyStroke{10, true, false}));
    EXPECT_EQ(planner.Plan(kAring), (KeyStroke{14, false, true}));

    // Without a Shift key, a shifted keysym gets a key of its own.
    planner.Update(10, UsLike(), false);
    EXPECT_EQ(planner.Plan(kCapitalA), (KeyStroke{14, false, true}));
}

TEST(KeyPlanner, KeepsBindingsUntilTheirKeycodeIsNeededAndThenTakesTheOldest) {
    KeyPlanner planner;
    planner.Update(10, UsLike(), true);
    const uint32_t keysyms[] = {kAring, kEuro, kSection};
    for (int i = 0; i < 3; ++i) {
        const KeyStroke stroke = *planner.Plan(keysyms[i]);
        EXPECT_EQ(stroke.Keycode, 14u - i);
        planner.Bound(stroke, keysyms[i], i);
    }
    // Still bound: typed again without a new binding.
    planner.Used(*planner.Plan(kAring), 10);
    EXPECT_EQ(planner.Plan(kAring), (KeyStroke{14, false, false}));

    // No empty keycode left: the binding used longest ago (the euro sign's) gives way.
    EXPECT_EQ(planner.Plan(0xd6), (KeyStroke{13, false, true}));
    EXPECT_EQ(planner.LastUse(13), 1);
    EXPECT_EQ(planner.BoundKeycodes().size(), 3u);
}

TEST(KeyPlanner, ForgetsBindingsALayoutChangeTookAway) {
    KeyPlanner planner;
    planner.Update(10, UsLike(), true);
    planner.Bound(*planner.Plan(kAring), kAring, 0);

    // Still in the map as read back: kept.
    std::vector<KeySlot> read = UsLike();
    read[4] = {kAring, kAring, false};
    planner.Update(10, read, true);
    EXPECT_EQ(planner.BoundKeycodes(), std::vector<unsigned>{14});

    // A new layout with å on a key of its own: that key, and nothing of ours to restore.
    std::vector<KeySlot> swedish = UsLike();
    swedish[2] = {kAring, 0xc5, false};
    planner.Update(10, swedish, true);
    EXPECT_TRUE(planner.BoundKeycodes().empty());
    EXPECT_EQ(planner.Plan(kAring), (KeyStroke{12, false, false}));

    // A full map with nothing of ours: nothing can be typed for a missing keysym.
    planner.Update(10, {{kA, kCapitalA, false}}, true);
    EXPECT_FALSE(planner.Plan(kEuro).has_value());
}
