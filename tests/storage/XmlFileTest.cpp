#include "storage/XmlDocument.h"
#include "storage/XmlEncoding.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "XmlIndexCheck.h"

namespace {

using xmltest::CheckIndex;
using xmltest::Narrow;

std::string ReadBytes(const std::wstring& path) {
  std::string out;
  if (FILE* f = _wfopen(path.c_str(), L"rb")) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) out.append(buffer, n);
    std::fclose(f);
  }
  return out;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* f = _wfopen(path.c_str(), L"wb");
  ASSERT_NE(nullptr, f);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::wstring AnsiToWide(const std::string& bytes) {
  std::wstring out(bytes.size(), L'\0');
  out.resize(MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0],
                                 static_cast<int>(out.size())));
  return out;
}

std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
  std::string out;
  for (wchar_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::wstring text;
  bool wellFormed;
  std::wstring log;
  int flags;
};

class XmlFileTest : public ::testing::Test {
protected:
  std::wstring File(const wchar_t* name) const { return m_folder.Path() + name; }
  testsupport::TempFolder m_folder{L"xml"};
};

TEST_F(XmlFileTest, ReadsEveryEncodingForm) {
  const std::string latin = "<a v=\"caf\xE9\"/>";
  const ReadCase cases[] = {
      {"UTF-8 with a mark", "\xEF\xBB\xBF<a v=\"\xC3\xA9\"/>", L"<a v=\"\u00e9\"/>", true,
       L"<bom/><read encoding=\"UTF-8\" length=\"11\"/><converted_to encoding=\"UTF-16\" length=\"10\"/>",
       kXmlFlagUtf8Bom},
      {"UTF-16LE with a mark", "\xFF\xFE" + Utf16Bytes(L"<a v=\"\u20ac\"/>", false), L"<a v=\"\u20ac\"/>", true,
       L"<bom/><read encoding=\"UTF-16LE\" length=\"10\"/>", kXmlFlagUtf16LE},
      {"UTF-16BE with a mark", "\xFE\xFF" + Utf16Bytes(L"<a v=\"\u20ac\"/>", true), L"<a v=\"\u20ac\"/>", true,
       L"<bom/><read encoding=\"UTF-16BE\" length=\"10\"/><endian_swap/>", kXmlFlagUtf16BE},
      {"UTF-16LE of odd length", "\xFF\xFE" + Utf16Bytes(L"<a/>", false) + "<", L"<a/>", true,
       L"<bom/><read encoding=\"UTF-16LE\" length=\"4\"/>", kXmlFlagUtf16LE},
      {"UTF-16LE with zero units", "\xFF\xFE" + Utf16Bytes(std::wstring(L"<a/\0>", 5), false), L"<a/>", true,
       L"<bom/><read encoding=\"UTF-16LE\" length=\"5\"/><nulls_removed count=\"1\"/>", kXmlFlagUtf16LE},
      {"declared windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\xE9\x80\"/>",
       L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\u00e9\u20ac\"/>", true,
       L"<read encoding=\"windows-1252\" length=\"56\"/><converted_to encoding=\"UTF-16\" length=\"56\"/>", 0},
      {"declared WINDOWS-1252", "<?xml version=\"1.0\" encoding=\"WINDOWS-1252\"?><a v=\"\xE9\x80\"/>",
       L"<?xml version=\"1.0\" encoding=\"WINDOWS-1252\"?><a v=\"\u00e9\u20ac\"/>", true,
       L"<read encoding=\"WINDOWS-1252\" length=\"56\"/><converted_to encoding=\"UTF-16\" length=\"56\"/>", 0},
      {"no mark, no declaration, valid UTF-8", "<a v=\"\xE2\x82\xAC\"/>", L"<a v=\"\u20ac\"/>", true,
       L"<read encoding=\"UTF-8\" length=\"12\"/><utf8_detection/><converted_to encoding=\"UTF-16\" length=\"10\"/>",
       0},
      {"invalid UTF-8 in the ANSI code page", latin, AnsiToWide(latin), true,
       L"<read encoding=\"\" length=\"13\"/><utf8_detection/><converted_to encoding=\"UTF-16\" length=\"13\"/>", 0},
      {"zero bytes removed", std::string("<a\0/>\0", 6), L"<a/>", true,
       L"<read encoding=\"UTF-8\" length=\"6\"/><nulls_removed count=\"2\"/><utf8_detection/>"
       L"<converted_to encoding=\"UTF-16\" length=\"4\"/>",
       0},
      {"an empty file", "", L"", false, L"<read encoding=\"\" length=\"0\"/>", 0},
      {"a mark alone", "\xEF\xBB\xBF", L"", false, L"<bom/><read encoding=\"UTF-8\" length=\"0\"/>", kXmlFlagUtf8Bom},
      {"not XML", "\r\nplain", L"\r\nplain", false,
       L"<read encoding=\"UTF-8\" length=\"7\"/><utf8_detection/><converted_to encoding=\"UTF-16\" length=\"7\"/>"
       L"<no_root_element/>",
       0},
  };
  for (const ReadCase& c : cases) {
    WriteBytes(File(L"read.xml"), c.bytes);
    XmlDocument doc;
    EXPECT_EQ(c.wellFormed, doc.ReadFromFile(File(L"read.xml").c_str(), false)) << c.name;
    EXPECT_EQ(Narrow(c.text), Narrow(doc.GetText())) << c.name;
    EXPECT_EQ(c.text, doc.GetText()) << c.name;
    EXPECT_EQ(Narrow(c.log), Narrow(doc.GetResultLog())) << c.name;
    EXPECT_EQ(c.flags, doc.GetFlags()) << c.name;
  }
}

TEST_F(XmlFileTest, AFailedReadLeavesTheDocumentEmpty) {
  const std::wstring paths[] = {File(L"missing.xml"), m_folder.Path(), m_folder.Path() + L"no\\such\\folder.xml"};
  for (const std::wstring& path : paths) {
    XmlDocument doc(L"<old><child/></old>");
    ASSERT_TRUE(doc.NextElement(L"old"));
    EXPECT_FALSE(doc.ReadFromFile(path.c_str(), false)) << Narrow(path);
    EXPECT_EQ(L"", doc.GetText());
    EXPECT_EQ(1, doc.GetRecordCount());
    EXPECT_EQ(0, doc.GetIndex()[0].firstChild);
    EXPECT_EQ(0, doc.GetElementPosition());
    EXPECT_EQ(0u, doc.GetResultLog().find(L"<file_error msg=\"")) << Narrow(doc.GetResultLog());
    EXPECT_NE(std::wstring::npos, doc.GetResultLog().find(L"\" n=\"")) << Narrow(doc.GetResultLog());
    EXPECT_FALSE(doc.NextElement(nullptr));
  }
  XmlDocument doc;
  EXPECT_FALSE(doc.ReadFromFile(File(L"missing.xml").c_str(), false));
  EXPECT_NE(std::wstring::npos, doc.GetResultLog().find(L" n=\"2\"/>")) << Narrow(doc.GetResultLog());
}

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

TEST_F(XmlFileTest, WritesANewDocumentAsUtf8WithoutMark) {
  XmlDocument doc;
  doc.ParseText(std::wstring(kDeclaration, kDeclaration + sizeof kDeclaration - 1).c_str());
  ASSERT_TRUE(doc.AppendElement(L"macro"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AppendElement(L"item"));
  ASSERT_TRUE(doc.WriteAttributeAt(doc.GetElementPosition(), L"desc", L"\u00e9\u20ac"));
  ASSERT_TRUE(doc.WriteToFile(File(L"new.xml").c_str(), false));
  EXPECT_EQ(std::string(kDeclaration) + "<macro>\r\n<item desc=\"\xC3\xA9\xE2\x82\xAC\"/>\r\n</macro>\r\n",
            ReadBytes(File(L"new.xml")));
  EXPECT_EQ(L"<converted_from encoding=\"UTF-16\" length=\"78\"/><write encoding=\"UTF-8\" length=\"81\"/>",
            doc.GetResultLog());
  XmlDocument back;
  EXPECT_TRUE(back.ReadFromFile(File(L"new.xml").c_str(), false)) << Narrow(back.GetResultLog());
  EXPECT_EQ(doc.GetText(), back.GetText());
}

TEST_F(XmlFileTest, WritesBackInTheFormItWasRead) {
  const std::string files[] = {
      "\xFF\xFE" + Utf16Bytes(L"<a v=\"\u20ac\"/>\r\n", false),
      "\xFE\xFF" + Utf16Bytes(L"<a v=\"\u20ac\"/>\r\n", true),
      "\xEF\xBB\xBF<a v=\"\xE2\x82\xAC\"/>\r\n",
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80\"/>",
  };
  for (const std::string& bytes : files) {
    WriteBytes(File(L"in.xml"), bytes);
    XmlDocument doc;
    ASSERT_TRUE(doc.ReadFromFile(File(L"in.xml").c_str(), false));
    ASSERT_TRUE(doc.WriteToFile(File(L"out.xml").c_str(), false)) << Narrow(doc.GetResultLog());
    EXPECT_EQ(bytes, ReadBytes(File(L"out.xml"))) << Narrow(doc.GetResultLog());
  }
}

TEST_F(XmlFileTest, LogsConversionLossAndStillWrites) {
  XmlDocument doc(L"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\u20ac\u30a2\"/>");
  EXPECT_TRUE(doc.WriteToFile(File(L"loss.xml").c_str(), false));
  EXPECT_EQ(L"<converted_from encoding=\"UTF-16\" length=\"56\"/><conversion_loss/>"
            L"<write encoding=\"windows-1252\" length=\"56\"/>",
            doc.GetResultLog());
  EXPECT_EQ("<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80?\"/>", ReadBytes(File(L"loss.xml")));
}

TEST_F(XmlFileTest, WriteFailuresAreReported) {
  XmlDocument empty;
  EXPECT_TRUE(empty.WriteToFile(File(L"empty.xml").c_str(), false));
  EXPECT_EQ(L"<write encoding=\"\" length=\"0\"/>", empty.GetResultLog());
  EXPECT_EQ("", ReadBytes(File(L"empty.xml")));

  XmlDocument doc(L"<a/>");
  EXPECT_FALSE(doc.WriteToFile(m_folder.Path().c_str(), false));
  EXPECT_EQ(0u, doc.GetResultLog().find(L"<file_error msg=\"")) << Narrow(doc.GetResultLog());

  // A code page the platform cannot encode into gives no bytes: the old file stays.
  WriteBytes(File(L"keep.xml"), "<old/>");
  XmlDocument odd(L"<?xml version=\"1.0\" encoding=\"x-no-such-code-page\"?><a/>");
  XmlDocument unsupported(L"<?xml version=\"1.0\" encoding=\"_iso-2022-jp$sio\"?><a/>");
  if (!IsValidCodePage(50222)) {
    EXPECT_FALSE(unsupported.WriteToFile(File(L"keep.xml").c_str(), false));
    EXPECT_EQ(0u, unsupported.GetResultLog().find(L"<file_error msg=\"")) << Narrow(unsupported.GetResultLog());
    EXPECT_EQ("<old/>", ReadBytes(File(L"keep.xml")));
  }
  // An unknown name falls back to the ANSI code page.
  EXPECT_TRUE(odd.WriteToFile(File(L"odd.xml").c_str(), false));
}

TEST_F(XmlFileTest, ScramblesEveryByteWithTheMask) {
  XmlDocument doc(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile name=\"\u00e9\"/>\r\n");
  ASSERT_TRUE(doc.WriteToFile(File(L"plain.xml").c_str(), false));
  ASSERT_TRUE(doc.WriteToFile(File(L"scrambled.xml").c_str(), true));
  const std::string plain = ReadBytes(File(L"plain.xml"));
  const std::string scrambled = ReadBytes(File(L"scrambled.xml"));
  ASSERT_EQ(plain.size(), scrambled.size());
  for (size_t i = 0; i < plain.size(); ++i)
    ASSERT_EQ(static_cast<unsigned char>(plain[i] ^ XmlScrambleMask), static_cast<unsigned char>(scrambled[i])) << i;

  XmlDocument back;
  EXPECT_TRUE(back.ReadFromFile(File(L"scrambled.xml").c_str(), true)) << Narrow(back.GetResultLog());
  EXPECT_EQ(doc.GetText(), back.GetText());
  EXPECT_EQ(L"<read encoding=\"UTF-8\" length=\"62\"/><utf8_detection/>"
            L"<converted_to encoding=\"UTF-16\" length=\"61\"/>",
            back.GetResultLog());

  XmlDocument unflagged;
  EXPECT_FALSE(unflagged.ReadFromFile(File(L"scrambled.xml").c_str(), false));
  EXPECT_EQ(1, unflagged.GetRecordCount());
}

TEST_F(XmlFileTest, DecodesTheCommittedScrambledProfile) {
  const char* source = std::getenv("TAVIR_SOURCE_DIR");
  ASSERT_NE(nullptr, source);
  std::wstring path = L"Z:";
  for (const char* p = source; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  path += L"\\tests\\storage\\data\\scrambled_profile.xml";
  XmlDocument doc;
  ASSERT_TRUE(doc.ReadFromFile(path.c_str(), true)) << Narrow(doc.GetResultLog());
  EXPECT_EQ(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n"
            L"<info name=\"Caf\u00e9 &amp; Co\" pid=\"4660\"/>\r\n</profile>\r\n",
            doc.GetText());
  ASSERT_TRUE(doc.NextElement(L"profile"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.NextElement(L"info"));
  EXPECT_STREQ(L"Caf\u00e9 & Co", doc.GetAttribute(L"name"));
}

// Random bytes and damaged files, plain and scrambled: decoding never crashes and always
// leaves a parsed document with a sound index.
TEST_F(XmlFileTest, RandomBytesDecodeToASoundDocument) {
  const std::string seeds[] = {
      "\xEF\xBB\xBF<a v=\"\xC3\xA9\"><b/></a>",
      "\xFF\xFE" + Utf16Bytes(L"<a><b c='1'/></a>", false),
      "\xFE\xFF" + Utf16Bytes(L"<a><b c='1'/></a>", true),
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\xE9\"/>",
      "<?xml version=\"1.0\" encoding=\"UTF-32\"?><a/>",
      "<?xml version=\"1.0\" encoding=\"utf-16\"?><a/>",
      "<html><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\"><a/>",
  };
  std::mt19937 random(20261210);
  const ULONGLONG until = GetTickCount64() + 3000;
  int runs = 0;
  while (GetTickCount64() < until && runs < 5000) {
    std::string bytes = seeds[random() % (sizeof(seeds) / sizeof(seeds[0]))];
    if (random() % 4 == 0) bytes.clear();
    const int edits = random() % 8;
    for (int e = 0; e < edits; ++e) {
      const size_t at = bytes.empty() ? 0 : random() % (bytes.size() + 1);
      const char byte = static_cast<char>(random() % 4 ? random() % 256 : "\0<>\"=\xEF\xFE\xFF"[random() % 8]);
      if (random() % 2 || at == bytes.size()) bytes.insert(at, 1, byte);
      else bytes[at] = byte;
    }
    const bool scramble = random() % 2 != 0;
    XmlDocument doc;
    const bool wellFormed = doc.LoadFileBytes(std::vector<unsigned char>(bytes.begin(), bytes.end()), scramble);
    ASSERT_EQ(wellFormed, doc.CheckStructure());
    ASSERT_EQ("", CheckIndex(doc));
    ++runs;
  }
  EXPECT_GT(runs, 100);
}

// A large profile-sized file stays within a stated bound: 50 MB reads in under 20 s and
// the process grows by less than 600 MB at its peak (the bytes, the UTF-16 text and the
// index together need about 200 MB).
TEST_F(XmlFileTest, FiftyMegabytesReadWithinBounds) {
  {
    FILE* f = _wfopen(File(L"big.xml").c_str(), L"wb");
    ASSERT_NE(nullptr, f);
    std::string chunk = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n";
    const std::string line = "<dks_item key=\"12\" desc=\"caf\xC3\xA9 &amp; co\" delay_time=\"100\"/>\r\n";
    size_t written = 0;
    while (written < 50u * 1024 * 1024) {
      while (chunk.size() < 1 << 20) chunk += line;
      std::fwrite(chunk.data(), 1, chunk.size(), f);
      written += chunk.size();
      chunk.clear();
    }
    std::fputs("</profile>\r\n", f);
    std::fclose(f);
  }
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  const ULONGLONG started = GetTickCount64();
  XmlDocument doc;
  EXPECT_TRUE(doc.ReadFromFile(File(L"big.xml").c_str(), false)) << Narrow(doc.GetResultLog());
  const ULONGLONG took = GetTickCount64() - started;
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  EXPECT_LT(took, 20000u);
  EXPECT_LT(after.PeakPagefileUsage, before.PagefileUsage + (600u << 20));
  EXPECT_GT(doc.GetRecordCount(), 700000);
  std::printf("50 MB read in %llu ms, peak growth %llu MB\n", static_cast<unsigned long long>(took),
              static_cast<unsigned long long>((after.PeakPagefileUsage - before.PagefileUsage) >> 20));
}

}  // namespace
