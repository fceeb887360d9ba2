#include "settings/HotKeyIndex.h"

#include <gtest/gtest.h>

#include <climits>

TEST(HotKeyIndex, UnsetBecomesF2AndOnlyPositiveRegisters)
{
    const struct {
        int nStored, nInitial;
        BOOL bHasKey;
    } cases[] = {{-1, 1, TRUE}, {-5, 1, TRUE}, {INT_MIN, 1, TRUE}, {0, 0, FALSE}, {11, 11, TRUE}, {40, 40, TRUE}};
    for (const auto& c : cases) {
        EXPECT_EQ(CHotKeyIndex::Initial(c.nStored), c.nInitial) << c.nStored;
        EXPECT_EQ(CHotKeyIndex::HasKey(CHotKeyIndex::Initial(c.nStored)), c.bHasKey) << c.nStored;
    }
    EXPECT_FALSE(CHotKeyIndex::HasKey(-1));
}

TEST(HotKeyIndex, VirtualKeyIsF1PlusIndex)
{
    EXPECT_EQ(CHotKeyIndex::VirtualKey(1), 113u);   // F2
    EXPECT_EQ(CHotKeyIndex::VirtualKey(4), 116u);   // F5
    EXPECT_EQ(CHotKeyIndex::VirtualKey(11), 123u);  // F12
    // Hand-stored indices get no upper bound, and no signed overflow either.
    EXPECT_EQ(CHotKeyIndex::VirtualKey(INT_MAX), 2147483759u);
}

TEST(HotKeyIndex, EntriesAreNoneThenF2ToF12)
{
    EXPECT_EQ(CHotKeyIndex::EntryText(0), "None");
    EXPECT_EQ(CHotKeyIndex::EntryText(1), "F2");
    EXPECT_EQ(CHotKeyIndex::EntryText(11), "F12");
    EXPECT_TRUE(CHotKeyIndex::EntryText(12).IsEmpty());
    EXPECT_TRUE(CHotKeyIndex::EntryText(-1).IsEmpty());
    for (int nIndex = 0; nIndex < CHotKeyIndex::ENTRY_COUNT; ++nIndex)
        EXPECT_EQ(CHotKeyIndex::FindEntry(CHotKeyIndex::EntryText(nIndex)), nIndex);
}

TEST(HotKeyIndex, TypedTextFindsEntryIgnoringCase)
{
    const struct {
        const char* pszText;
        int nIndex;
    } cases[] = {{"f7", 6},   {"F12", 11}, {"none", 0},  {"NONE", 0}, {"F1", -1},
                 {"F13", -1}, {"", -1},    {"junk", -1}, {"F7 ", -1}, {nullptr, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(CHotKeyIndex::FindEntry(c.pszText), c.nIndex) << (c.pszText ? c.pszText : "(null)");
}
