#include "ui/core/CString.h"
#include "ui/core/ModuleProc.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FormatCase {
  const char* name;
  CString result;
  const wchar_t* expected;
};

TEST(CStringTest, FormatsLikeThePlatformWidePrintf) {
  CString s, d, x, X4, w, p, narrow, pct;
  s.Format(L"[%s]", L"wide");
  d.Format(L"%d/%d", -42, 7);
  x.Format(L"%x", 0xbeef);
  X4.Format(L"%04X", 0xA);
  w.Format(L"[%5d|%-5d]", 12, 34);
  p.Format(L"%.2f|%.3s|%8.3f", 3.14159, L"abcdef", 2.5);
  narrow.Format(L"%S", "ansi");
  pct.Format(L"100%%");
  const FormatCase cases[] = {
      {"%s is a wide string", s, L"[wide]"},
      {"%d signed", d, L"-42/7"},
      {"%x lower hex", x, L"beef"},
      {"%04X zero padded upper hex", X4, L"000A"},
      {"width right and left", w, L"[   12|34   ]"},
      {"precision of floats and strings", p, L"3.14|abc|   2.500"},
      {"%S is a narrow string", narrow, L"ansi"},
      {"%% is a percent sign", pct, L"100%"},
  };
  for (const auto& c : cases) EXPECT_STREQ(c.expected, c.result.GetString()) << c.name;

  CString appended(L"a");
  appended.AppendFormat(L"-%d", 5);
  EXPECT_STREQ(L"a-5", appended);
  CString empty;
  empty.Format(L"%s", L"");
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(CStringTest, EmptyStringsBehave) {
  const CString a, b(L""), c(static_cast<const wchar_t*>(nullptr)), d(static_cast<const char*>(nullptr));
  for (const CString* e : {&a, &b, &c, &d}) {
    EXPECT_TRUE(e->IsEmpty());
    EXPECT_EQ(0, e->GetLength());
    EXPECT_STREQ(L"", e->GetString());
    EXPECT_EQ(-1, e->Find(L'x'));
    EXPECT_TRUE(e->Mid(3).IsEmpty());
    EXPECT_TRUE(e->Left(2).IsEmpty());
    EXPECT_TRUE(e->Right(2).IsEmpty());
    EXPECT_EQ(0, e->GetAt(0));
  }
  EXPECT_EQ(a, b);
}

TEST(CStringTest, CopyThenModifyLeavesTheOriginal) {
  const CString original(L"keyboard");
  struct Step {
    const char* name;
    void (*modify)(CString&);
    const wchar_t* expected;
  };
  const Step steps[] = {
      {"append", [](CString& s) { s += L"!"; }, L"keyboard!"},
      {"SetAt", [](CString& s) { s.SetAt(0, L'K'); }, L"Keyboard"},
      {"MakeUpper", [](CString& s) { s.MakeUpper(); }, L"KEYBOARD"},
      {"Replace", [](CString& s) { s.Replace(L"board", L"cap"); }, L"keycap"},
      {"Delete", [](CString& s) { s.Delete(0, 3); }, L"board"},
      {"Insert", [](CString& s) { s.Insert(3, L"-"); }, L"key-board"},
      {"Trim", [](CString& s) { s.Trim(L'k'); }, L"eyboard"},
      {"GetBuffer", [](CString& s) { s.GetBuffer()[0] = L'X'; s.ReleaseBuffer(); }, L"Xeyboard"},
      {"Empty", [](CString& s) { s.Empty(); }, L""},
      {"Remove", [](CString& s) { s.Remove(L'o'); }, L"keybard"},
  };
  for (const auto& step : steps) {
    CString copy(original);
    step.modify(copy);
    EXPECT_STREQ(step.expected, copy) << step.name;
    EXPECT_STREQ(L"keyboard", original) << step.name;
  }
}

TEST(CStringTest, SurrogatePairsSurviveSlicingAndSearch) {
  const CString emoji(L"\U0001F600");  // two UTF-16 units
  ASSERT_EQ(2, emoji.GetLength());
  CString s = L"a" + emoji + L"b" + emoji;
  EXPECT_EQ(6, s.GetLength());
  EXPECT_EQ(1, s.Find(emoji));
  EXPECT_EQ(4, s.Find(emoji, 2));
  EXPECT_EQ(emoji, s.Mid(1, 2));
  EXPECT_EQ(emoji, s.Right(2));
  EXPECT_EQ(2, s.Replace(emoji, L"\U0001F680"));
  EXPECT_STREQ(L"a\U0001F680b\U0001F680", s);
  CString t(L"x\U0001F600y");
  t.Replace(L"x", L"\U0001F600");
  EXPECT_STREQ(L"\U0001F600\U0001F600y", t);
}

TEST(CStringTest, GetBufferAndReleaseBuffer) {
  CString s(L"abc");
  wchar_t* buffer = s.GetBuffer(10);
  wcscpy(buffer, L"0123456789");
  s.ReleaseBuffer();  // length from the terminator
  EXPECT_EQ(10, s.GetLength());
  EXPECT_STREQ(L"0123456789", s);

  buffer = s.GetBuffer();
  buffer[2] = 0;
  s.ReleaseBuffer(5);  // an explicit length wins over the terminator
  EXPECT_EQ(5, s.GetLength());

  CString locked(L"ab");
  buffer = locked.GetBuffer(4);
  ASSERT_NE(nullptr, buffer);
  buffer[0] = L'z';
  const CString copyWhileLocked(locked);  // a buffer handed out is never shared
  buffer[0] = L'y';
  locked.ReleaseBuffer();
  EXPECT_STREQ(L"yb", locked);
  EXPECT_STREQ(L"zb", copyWhileLocked);

  CString set;
  wchar_t* fixed = set.GetBufferSetLength(3);
  fixed[0] = L'a'; fixed[1] = L'b'; fixed[2] = L'c';
  set.ReleaseBuffer(3);
  EXPECT_STREQ(L"abc", set);
  CString toEmpty(L"abc");
  toEmpty.GetBuffer();
  toEmpty.ReleaseBuffer(0);
  EXPECT_TRUE(toEmpty.IsEmpty());
}

TEST(CStringTest, ComparisonAndOrdering) {
  const CString a(L"Alpha"), b(L"beta"), a2(L"alpha");
  EXPECT_TRUE(a == L"Alpha");
  EXPECT_TRUE(L"Alpha" == a);
  EXPECT_TRUE(a != a2);
  EXPECT_EQ(0, a.CompareNoCase(a2));
  EXPECT_LT(a.Compare(b), 0);
  EXPECT_TRUE(a < b);
  EXPECT_TRUE(b > a2);
  EXPECT_TRUE(a <= CString(L"Alpha"));
  EXPECT_TRUE(a >= CString(L"Alpha"));
  EXPECT_LT(CString(L"").Compare(L"a"), 0);
  EXPECT_EQ(0, CString(L"").Compare(nullptr));
}

TEST(CStringTest, SlicingSearchingAndTrimming) {
  const CString s(L"  key=value; other  ");
  CString t(s);
  t.Trim();
  EXPECT_STREQ(L"key=value; other", t);
  EXPECT_EQ(3, t.Find(L'='));
  EXPECT_EQ(-1, t.Find(L'=', 4));
  EXPECT_EQ(9, t.ReverseFind(L';'));
  EXPECT_EQ(3, t.FindOneOf(L";="));
  EXPECT_STREQ(L"key", t.Left(3));
  EXPECT_STREQ(L"other", t.Right(5));
  EXPECT_STREQ(L"value", t.Mid(4, 5));
  EXPECT_STREQ(L"key=value; other", t.Mid(-3));
  EXPECT_STREQ(L"other", t.Mid(11, 100));
  EXPECT_STREQ(L"key", t.SpanExcluding(L"="));
  int pos = 0;
  std::vector<CString> tokens;
  for (CString tok = t.Tokenize(L"=; ", pos); pos >= 0; tok = t.Tokenize(L"=; ", pos)) tokens.push_back(tok);
  ASSERT_EQ(3u, tokens.size());
  EXPECT_STREQ(L"other", tokens[2]);
  CString lower(L"MiXeD \x00C4");
  lower.MakeLower();
  EXPECT_STREQ(L"mixed \x00E4", lower);
  CString self(L"ab");
  self += self;
  self.Append(self.GetString() + 1, 2);
  EXPECT_STREQ(L"ababba", self);
  EXPECT_STREQ(L"ansi text", CString("ansi text"));
  EXPECT_STREQ(L"xxx", CString(L'x', 3));
}

// Strings made in another module (string_probe.dll) are freed here, and strings made
// here are kept, changed and freed there.
TEST(CStringTest, CrossesModulesBothWays) {
  HMODULE probe = LoadLibraryW(L"string_probe.dll");
  ASSERT_NE(nullptr, probe);
  using NewFn = CString* (*)(int);
  using DeleteFn = void (*)(CString*);
  using KeepFn = void (*)(int, const CString*);
  using SlotFn = void (*)(int);
  using DropFn = void (*)();
  using LengthFn = int (*)(int);
  auto make = GetModuleProc<NewFn>(probe, "ProbeNewString");
  auto destroy = GetModuleProc<DeleteFn>(probe, "ProbeDeleteString");
  auto keep = GetModuleProc<KeepFn>(probe, "ProbeKeep");
  auto append = GetModuleProc<SlotFn>(probe, "ProbeAppendToKept");
  auto drop = GetModuleProc<DropFn>(probe, "ProbeDropAll");
  auto length = GetModuleProc<LengthFn>(probe, "ProbeKeptLength");
  ASSERT_TRUE(make && destroy && keep && append && drop && length);

  for (int round = 0; round < 20000; ++round) {
    CString* there = make(round);
    CString here = *there;  // shared buffer made in the other module
    destroy(there);         // freed by the module that made the object
    here += L"!";           // copy on write here, old buffer released here
    CString local;
    local.Format(L"local-%d", round);
    keep(round, &local);    // shared with the other module
    append(round);          // the other module copies on write
    EXPECT_EQ(local.GetLength() + 1, length(round));
    if (round % 64 == 63) drop();
    if (HasFailure()) break;
  }
  drop();
  FreeLibrary(probe);
}

}  // namespace
