#include "framework/String.h"

#include <gtest/gtest.h>

TEST(CString, FormatConcatenateCompare)
{
    CString s;
    s.Format("F%d", 12);
    EXPECT_EQ(s, "F12");
    EXPECT_EQ(s.GetLength(), 3);
    CString t = CString("a") + s + "b";
    EXPECT_STREQ((const char*)t, "aF12b");
    EXPECT_EQ(CString("f7").CompareNoCase("F7"), 0);
    EXPECT_NE(CString("f8").CompareNoCase("F7"), 0);
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_TRUE(CString(nullptr).IsEmpty());
    EXPECT_EQ(CString("abcdef").Left(3), "abc");
    EXPECT_EQ(CString("abc").Left(10), "abc");
}

TEST(CString, FormatLongerThanAnyFixedBuffer)
{
    std::string big(5000, 'x');
    CString s;
    s.Format("%s!", big.c_str());
    EXPECT_EQ(s.GetLength(), 5001);
}
