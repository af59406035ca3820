#include <gtest/gtest.h>

#include <string>

#include "companions/KpUtf16.h"

namespace {

TEST(Utf16, FromUtf8) {
  const struct {
    const char* what;
    CString utf8;
    std::u16string utf16;
  } rows[] = {
      {"empty", "", u""},
      {"ASCII", "Line 1", u"Line 1"},
      {"CJK", "线型", u"\u7EBF\u578B"},
      {"astral as surrogate pair", "\U0001F600", u"\xD83D\xDE00"},
      {"stray continuation byte", "a\x80z", u"a\xFFFDz"},
      // Each byte that arrived of a cut-off sequence is replaced on its own.
      {"truncated before ASCII", "\xE7\xBA" "A", u"\xFFFD\xFFFD" u"A"},
      {"overlong slash", "\xC0\xAF", u"\xFFFD\xFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
      {"invalid lead byte", "\xFF", u"\xFFFD"},
  };
  for (const auto& r : rows) EXPECT_EQ(kp::Utf8ToUtf16(r.utf8), r.utf16) << r.what;
}

TEST(Utf16, ToUtf8) {
  const struct {
    const char* what;
    std::u16string utf16;
    CString utf8;
  } rows[] = {
      {"ASCII", u"abc", "abc"},
      {"CJK", u"\u7EBF\u578B", "线型"},
      {"surrogate pair", u"\xD83D\xDE00", "\U0001F600"},
      {"high surrogate at the end", u"a\xD83D", "a\uFFFD"},
      {"high surrogate before a letter", u"\xD83D" u"a", "\uFFFDa"},
      {"two high surrogates then a low", u"\xD83D\xD83D\xDE00", "\uFFFD\U0001F600"},
      {"lone low surrogate", u"\xDE00" u"b", "\uFFFDb"},
  };
  for (const auto& r : rows) EXPECT_EQ(kp::Utf16ToUtf8(r.utf16), r.utf8) << r.what;
}

}  // namespace
