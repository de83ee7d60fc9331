#include "toolkit/EditMask.h"

#include <gtest/gtest.h>

namespace {

using toolkit::EditMask;
using toolkit::FormatMaskText;
using toolkit::MaskBlankEditText;
using toolkit::MaskBlankText;
using toolkit::MaskEditText;
using toolkit::MaskRawText;
using toolkit::MaskText;

constexpr const char* kDate = "9999/99/99;1; ";
constexpr const char* kDocRef = "!aaaa-aaaaaaaaaaa;0; ";
constexpr const char* kTime = "99:99;1;_";
constexpr const char* kYearMonth = "!9999/99;1; ";

TEST(EditMask, ParsesFieldsAndPositions) {
  struct {
    const char16_t* mask;
    int length;
    int editable;
    bool saveLiterals;
    char16_t blank;
    bool reverse;
  } cases[] = {
      {u"9999/99/99;1; ", 10, 8, true, u' ', false},
      {u"!aaaa-aaaaaaaaaaa;0; ", 16, 15, false, u' ', true},
      {u"99:99;1;_", 5, 4, true, u'_', false},
      {u"!9999/99;1; ", 7, 6, true, u' ', true},
      {u"000", 3, 3, true, u'_', false},             // no fields: literals kept, blank "_"
      {u"00;0", 2, 2, false, u'_', false},           // no blank field
      {u"00;;*", 2, 2, true, u'*', false},           // empty second field keeps literals
      {u">LL<>ll", 4, 4, true, u'_', false},         // directives take no position
      {u"\\;00\\\\;0;#", 4, 2, false, u'#', false},  // escaped ";" and "\" are literals
      {u"", 0, 0, true, u'_', false},
      {u";1; ", 0, 0, true, u' ', false},
  };
  for (const auto& c : cases) {
    const EditMask m(c.mask);
    EXPECT_EQ(m.Length(), c.length) << std::string(c.mask, c.mask + 3);
    EXPECT_EQ(static_cast<int>(m.EditablePositions().size()), c.editable);
    EXPECT_EQ(m.SaveLiterals(), c.saveLiterals);
    EXPECT_EQ(m.Blank(), c.blank);
    EXPECT_EQ(m.ReverseDirection(), c.reverse);
    EXPECT_EQ(m.IsMasked(), c.length > 0);
  }
}

TEST(EditMask, BlankTexts) {
  struct {
    const char* mask;
    const char* blankEditText;  // what an empty control shows
    const char* blankText;      // what its Text reads
  } cases[] = {
      {kDate, "    /  /  ", "    /  /  "},         {"99/99/9999;1; ", "  /  /    ", "  /  /    "},
      {"99/99/99;1; ", "  /  /  ", "  /  /  "},    {"999-99-99;1; ", "   -  -  ", "   -  -  "},
      {kDocRef, "    -           ", ""},           {kTime, "__:__", "  :  "},
      {kYearMonth, "    /  ", "    /  "},          {"9999/99/99;0; ", "    /  /  ", ""},
      {"(999)_000;1;_", "(___) ___", "(   )    "}, {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MaskBlankEditText(c.mask), c.blankEditText) << c.mask;
    EXPECT_EQ(MaskBlankText(c.mask), c.blankText) << c.mask;
  }
}

// Text and raw text read from what the control shows.
TEST(EditMask, TextFromEditText) {
  struct {
    const char* mask;
    const char* editText;
    const char* text;
    const char* raw;
  } cases[] = {
      {kDate, "2009/05/01", "2009/05/01", "20090501"},
      {kDate, "2009/05/  ", "2009/05/  ", "200905"},
      {kDate, "2009/ 5/ 1", "2009/ 5/ 1", "2009 5 1"},
      {kDate, "    /  /  ", "    /  /  ", ""},
      {"9999/99/99;0; ", "2009/05/  ", "200905", "200905"},
      // The document reference: type and number without the dash, leading blanks trimmed,
      // blanks inside and at the end kept.
      {kDocRef, "PR01-20090101001", "PR0120090101001", "PR0120090101001"},
      {kDocRef, "PR  -123        ", "PR  123        ", "PR  123        "},
      {kDocRef, "    -123        ", "123        ", "123        "},
      {kDocRef, "    -           ", "", ""},
      {kTime, "12:30", "12:30", "1230"},
      {kTime, "12:3_", "12:3 ", "123"},
      {kTime, "1_:_5", "1 : 5", "1  5"},
      {kTime, "__:__", "  :  ", ""},
      {kYearMonth, "2009/05", "2009/05", "200905"},
      {kYearMonth, "  09/05", "  09/05", "0905"},
      {kYearMonth, "2009/5 ", "2009/5 ", "20095 "},
      // A short edit text is conformed first: missing positions are blank.
      {kDate, "2009", "2009/  /  ", "2009"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MaskText(c.mask, c.editText), c.text) << c.mask << " | " << c.editText;
    EXPECT_EQ(MaskRawText(c.mask, c.editText), c.raw) << c.mask << " | " << c.editText;
  }
}

// The edit text shown after Text is set, and the Text read back from it.
TEST(EditMask, SettingText) {
  struct {
    const char* mask;
    const char* text;
    const char* editText;
    const char* readBack;
  } cases[] = {
      {kDate, "2009/05/01", "2009/05/01", "2009/05/01"},
      {kDate, "2009/5/1", "2009/5 /1 ", "2009/5 /1 "},
      {kDate, "2009/05/", "2009/05/  ", "2009/05/  "},
      {kDate, "20090501", "2009/05/01", "2009/05/01"},  // no literal in the text: raw
      {kDate, "", "    /  /  ", "    /  /  "},
      {kDate, "    /  /  ", "    /  /  ", "    /  /  "},
      {kDate, "20091/2/3", "2009/2 /3 ", "2009/2 /3 "},  // a long field is cut
      {kYearMonth, "2009/5", "2009/ 5", "2009/ 5"},      // "!": fields filled from the right
      {kTime, "9:5", "9_:5_", "9 :5 "},
      {kTime, "0930", "09:30", "09:30"},
      {kDocRef, "PR0120090101001", "PR01-20090101001", "PR0120090101001"},
      {kDocRef, "PR  123        ", "PR  -123        ", "PR  123        "},
      {kDocRef, "123        ", "    -123        ", "123        "},
      {kDocRef, "PR01", "    -       PR01", "PR01"},  // "!": a short raw text goes right
      {kDocRef, "PR01-20090101001", "PR01-20090101001", "PR0120090101001"},  // shown form
      {kDocRef, "", "    -           ", ""},
      {"9999/99/99;0;_", "200905", "2009/05/__", "200905"},
  };
  for (const auto& c : cases) {
    const std::string edit = MaskEditText(c.mask, c.text);
    EXPECT_EQ(edit, c.editText) << c.mask << " | " << c.text;
    EXPECT_EQ(MaskText(c.mask, edit), c.readBack) << c.mask << " | " << c.text;
  }
}

TEST(EditMask, FormatMaskText) {
  struct {
    const char* mask;
    const char* text;
    const char* formatted;
  } cases[] = {
      {kDate, "2009/05/01", "2009/05/01"},
      {kDate, "20090501", "2009/05/01"},
      {kDate, "200905", "2009/05/  "},
      {kDate, "", "    /  /  "},
      {kDocRef, "PR0120090101001", "PR01-20090101001"},
      {kDocRef, "PR  123", "    -    PR  123"},
      {kDocRef, "", "    -           "},
      {kTime, "1230", "12:30"},
      {kTime, "12", "12:  "},  // blanks become spaces, not the mask's blank
      {"!\\(999\\)000-0000;0;_", "5551234567", "(555)123-4567"},
      {"!\\(999\\)000-0000;0;_", "1234567", "(   )123-4567"},
      {"(999)000-0000;1;_", "(555)123-4567", "(555)123-4567"},
      {"", "anything", "anything"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatMaskText(c.mask, c.text), c.formatted) << c.mask << " | " << c.text;
}

TEST(EditMask, AcceptsAndConvertsTypedCharacters) {
  // Positions: 0 '0', 1 '9', 2 '#', 3 'L', 4 'l', 5 'A', 6 'a', 7 'C', 8 'c', 9 literal "-".
  const EditMask m(u"09#LlAaCc-;1;_");
  struct {
    int pos;
    char16_t ch;
    bool accepted;
    char16_t converted;
  } cases[] = {
      {0, u'5', true, u'5'},
      {0, u'x', false, 0},
      {0, u' ', false, 0},
      {1, u'7', true, u'7'},
      {1, u'+', false, 0},
      {1, u' ', true, u'_'},
      {2, u'+', true, u'+'},
      {2, u'-', true, u'-'},
      {2, u'3', true, u'3'},
      {2, u'a', false, 0},
      {3, u'q', true, u'q'},
      {3, u'1', false, 0},
      {3, u' ', false, 0},
      {4, u'Z', true, u'Z'},
      {4, u' ', true, u'_'},
      {5, u'7', true, u'7'},
      {5, u'b', true, u'b'},
      {5, u'-', false, 0},
      {6, u'%', false, 0},
      {7, u'%', true, u'%'},
      {7, u' ', true, u' '},
      {8, u' ', true, u' '},
      {9, u'-', false, 0},
      {0, u'\t', false, 0},
      {3, u'\u4E2D', true, u'\u4E2D'},  // ideographs count as letters
  };
  for (const auto& c : cases) {
    char16_t converted = 0;
    EXPECT_EQ(m.AcceptChar(c.pos, c.ch, &converted), c.accepted)
        << "pos " << c.pos << " char " << static_cast<int>(c.ch);
    if (c.accepted) {
      EXPECT_EQ(converted, c.converted) << "pos " << c.pos;
    }
  }
}

TEST(EditMask, CaseRulesApplyFromTheirPosition) {
  struct {
    const char16_t* mask;
    const char16_t* typed;
    const char16_t* shown;
  } cases[] = {
      {u">LLL", u"abc", u"ABC"},  {u"<LLL", u"ABC", u"abc"},      {u"L>L<L", u"aBc", u"aBc"},
      {u"L>L<L", u"abC", u"aBc"}, {u">LL<>LL", u"abCd", u"ABCd"}, {u">AA;1;_", u"x1", u"X1"},
      {u">cc", u"a%", u"A%"},     {u">99", u"12", u"12"},
  };
  for (const auto& c : cases) {
    const EditMask m(c.mask);
    std::u16string edit = m.BlankEditText();
    int cursor = 0;
    m.TypeText(edit, &cursor, c.typed);
    EXPECT_EQ(edit, c.shown) << std::string(c.mask, c.mask + 2);
  }
}

TEST(EditMask, EscapesAndUnderscoreAreLiterals) {
  const EditMask m(u"\\0\\9_0;1;*");
  ASSERT_EQ(m.Length(), 4);
  EXPECT_EQ(m.BlankEditText(), u"09 *");
  EXPECT_FALSE(m.IsEditable(0));
  EXPECT_FALSE(m.IsEditable(1));
  EXPECT_FALSE(m.IsEditable(2));
  EXPECT_TRUE(m.IsEditable(3));
  EXPECT_EQ(toolkit::MaskText("\\0\\9_0;1;*", "09 5"), "09 5");
  EXPECT_EQ(toolkit::MaskText("\\0\\9_0;0;*", "09 5"), "5");
}

TEST(EditMask, TypingSkipsLiteralsAndJumpsOnSeparators) {
  struct {
    const char* mask;
    const char16_t* typed;
    const char16_t* shown;
    int cursor;  // after typing
  } cases[] = {
      {kDate, u"20090501", u"2009/05/01", 10},
      {kDate, u"2009/05/01", u"2009/05/01", 10},   // typed separators after full fields
      {kDate, u"2009/5/1", u"2009/5 /1 ", 9},      // early separators jump to the next field
      {kDate, u"2009x05", u"2009/05/  ", 8},       // refused characters change nothing
      {kDate, u"20090501999", u"2009/05/01", 10},  // full: further keys refused
      {kTime, u"9:3", u"9_:3_", 4},
      {kDocRef, u"PR01-2009", u"PR01-2009       ", 9},
      {kDocRef, u"pr-12", u"pr  -12         ", 7},
      {kDocRef, u"PR 1-5", u"PR 1-5          ", 6},  // a space leaves a position empty
  };
  for (const auto& c : cases) {
    const EditMask m(toolkit::BytesToMaskText(c.mask));
    std::u16string edit = m.BlankEditText();
    int cursor = 0;
    m.TypeText(edit, &cursor, c.typed);
    EXPECT_EQ(edit, c.shown) << c.mask << " | " << std::string(c.typed, c.typed + 3);
    EXPECT_EQ(cursor, c.cursor) << c.mask;
  }
}

TEST(EditMask, RefusedKeyChangesNothing) {
  const EditMask m(u"9999/99/99;1; ");
  std::u16string edit = u"2009/05/01";
  int cursor = 2;
  EXPECT_FALSE(m.TypeChar(edit, &cursor, u'a'));
  EXPECT_FALSE(m.TypeChar(edit, &cursor, u':'));
  EXPECT_EQ(edit, u"2009/05/01");
  EXPECT_EQ(cursor, 2);
  // Typing overwrites.
  EXPECT_TRUE(m.TypeChar(edit, &cursor, u'1'));
  EXPECT_EQ(edit, u"2019/05/01");
  EXPECT_EQ(cursor, 3);
}

TEST(EditMask, DeletingLeavesBlanks) {
  const EditMask m(u"99:99;1;_");
  std::u16string edit = u"12:34";
  int cursor = 3;                           // just after the ":"
  EXPECT_TRUE(m.Backspace(edit, &cursor));  // the ":" is passed over
  EXPECT_EQ(edit, u"1_:34");
  EXPECT_EQ(cursor, 1);
  m.ClearRange(edit, 2, 5);
  EXPECT_EQ(edit, u"1_:__");
  cursor = 0;
  EXPECT_TRUE(m.Backspace(edit, &cursor) == false);
  EXPECT_EQ(toolkit::MaskTextToBytes(m.Text(edit)), "1 :  ");
}

TEST(EditMask, Validity) {
  struct {
    const char16_t* mask;
    const char16_t* editText;
    int firstInvalid;
  } cases[] = {
      {u"9999/99/99;1; ", u"    /  /  ", -1},  // optional positions may stay empty
      {u"9999/99/99;1; ", u"2009/05/  ", -1},
      {u"9999/99/99;1; ", u"2009/x5/01", 5},  // a character its position refuses
      {u"9999/99/99;1; ", u"2009-05-01", 4},  // a literal out of place
      {u"0000/00/00;1;_", u"2009/05/__", 8},  // a required position empty
      {u"0000/00/00;1;_", u"2009/05/01", -1},
      {u"!aaaa-aaaaaaaaaaa;0; ", u"    -           ", -1},
      {u"!aaaa-aaaaaaaaaaa;0; ", u"PR01-2009%      ", 9},
      {u"LL;1;_", u"A_", 1},
      {u"LL;1;_", u"A ", 1},  // a space is empty where arbitrary characters are not taken
      {u"CC;1;_", u"A ", -1},
      {u"", u"anything", -1},
  };
  for (const auto& c : cases) {
    const EditMask m(c.mask);
    EXPECT_EQ(m.FirstInvalidPosition(c.editText), c.firstInvalid)
        << std::string(c.editText, c.editText + 10);
  }
}

TEST(EditMask, BlankDetection) {
  const EditMask date(u"9999/99/99;1; ");
  EXPECT_TRUE(date.IsBlank(u"    /  /  "));
  EXPECT_FALSE(date.IsBlank(u"    /  / 1"));
  const EditMask time(u"99:99;1;_");
  EXPECT_TRUE(time.IsBlank(u"__:__"));
  EXPECT_TRUE(time.IsBlank(u"  :  "));  // spaces typed into optional digits are empty too
}

TEST(EditMask, NavigationBetweenEditablePositions) {
  const EditMask m(u"\\(999\\) 000;1;_");
  EXPECT_EQ(m.NextEditable(0), 1);
  EXPECT_EQ(m.NextEditable(4), 6);
  EXPECT_EQ(m.NextEditable(9), 9);
  EXPECT_EQ(m.NextEditable(10), m.Length());
  EXPECT_EQ(m.PreviousEditable(6), 3);
  EXPECT_EQ(m.PreviousEditable(1), -1);
}

TEST(EditMask, NoMaskPassesTextThrough) {
  const EditMask m;
  EXPECT_FALSE(m.IsMasked());
  EXPECT_EQ(m.Text(u"abc"), u"abc");
  EXPECT_EQ(m.EditTextFromText(u"abc"), u"abc");
  EXPECT_EQ(m.BlankText(), u"");
  std::u16string edit = u"abc";
  int cursor = 0;
  EXPECT_FALSE(m.TypeChar(edit, &cursor, u'x'));
}

TEST(EditMask, EightBitTextsCountBytes) {
  // "中" in GBK is two bytes; in an any-character mask each byte takes one position.
  const std::string gbk = "\xD6\xD0";
  EXPECT_EQ(MaskText("cccc;1;_", gbk), gbk + "  ");
  EXPECT_EQ(MaskEditText("cccc;1;_", gbk), gbk + "__");
  EXPECT_EQ(FormatMaskText("cc-cc;0; ", gbk + "ab"), gbk + "-ab");
}

}  // namespace
