// The keyboard-layout stand-in: handles, the active layout after an unload, refusals.
#include "platform/keyboardlayouts.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyboardLayoutStandIn, KeepsLoadedAndActiveLayouts) {
    plat::RecordingKeyboardLayouts layouts;
    const auto persian = layouts.load("00000429", plat::KLF_ACTIVATE);
    const auto english = layouts.load("00000409", 0);  // loaded, not activated
    ASSERT_NE(persian, 0u);
    ASSERT_NE(english, 0u);
    EXPECT_NE(persian, english);
    EXPECT_EQ(layouts.active(), "00000429");
    EXPECT_EQ(layouts.load("00000429", plat::KLF_ACTIVATE), persian);  // same layout, same handle
    EXPECT_EQ(layouts.loaded(), QStringList({"00000429", "00000409"}));

    // Unloading the active layout activates the latest remaining one.
    EXPECT_TRUE(layouts.unload(persian));
    EXPECT_EQ(layouts.active(), "00000409");
    EXPECT_FALSE(layouts.unload(persian));  // not loaded any more
    EXPECT_TRUE(layouts.unload(english));
    EXPECT_EQ(layouts.active(), "");
    EXPECT_EQ(layouts.journal(), QStringList({"load 00000429", "activate 00000429", "load 00000409",
                                              "load 00000429", "activate 00000429", "unload 00000429",
                                              "unload 00000409"}));
}

TEST(KeyboardLayoutStandIn, RefusesWhatIsNotALayout) {
    plat::RecordingKeyboardLayouts layouts;
    for (const char* name : {"", "429", "0000042Z", "000004290"})
        EXPECT_EQ(layouts.load(name, plat::KLF_ACTIVATE), 0u) << name;
    EXPECT_FALSE(layouts.unload(0));
    EXPECT_FALSE(layouts.unload(7));
    EXPECT_TRUE(layouts.journal().isEmpty());
    EXPECT_EQ(layouts.load("A0000429", plat::KLF_ACTIVATE), 1u);  // identifiers are hexadecimal, any case
    EXPECT_EQ(layouts.active(), "a0000429");
}

TEST(KeyboardLayoutStandIn, JournalKeepsTheLatestCalls) {
    plat::RecordingKeyboardLayouts layouts;
    for (int i = 0; i < 800; ++i)
        layouts.load(i % 2 ? "00000409" : "00000429", plat::KLF_ACTIVATE);
    EXPECT_EQ(layouts.journal().size(), 1000);
    EXPECT_EQ(layouts.journal().constLast(), "activate 00000409");
}

}  // namespace
