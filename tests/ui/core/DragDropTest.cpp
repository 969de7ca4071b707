#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DropWindow.h"
#include "MessagePump.h"
#include "ProgramInstance.h"
#include "ui/core/CIDataObject.h"
#include "ui/core/CIDropTarget.h"
#include "ui/core/DropImage.h"
#include "ui/core/MObject.h"
#include "ui/core/MRender.h"
#include "ui/core/MWindow.h"
#include "ui/core/PaintManager.h"

using namespace TESK;

namespace {

// A packed DIB: header of headerSize bytes, then table bytes, then the rows.
std::vector<BYTE> PackedDib(LONG width, LONG height, WORD bits, DWORD compression = BI_RGB, DWORD colours = 0,
                            size_t tableBytes = 0) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = bits;
  header.biCompression = compression;
  header.biClrUsed = colours;
  const size_t rows = ((static_cast<size_t>(width) * bits + 31) / 32) * 4 * (height < 0 ? -height : height);
  std::vector<BYTE> block(sizeof(header) + tableBytes + rows, 0x7F);
  std::memcpy(block.data(), &header, sizeof(header));
  return block;
}

void SetDword(std::vector<BYTE>& block, size_t at, DWORD value) { std::memcpy(block.data() + at, &value, 4); }

TEST(DropImageTest, PackedDibsAreCheckedAgainstTheirBlock) {
  struct Case {
    const char* name;
    std::vector<BYTE> block;
    SIZE_T offset;  // 0: refused
  };
  std::vector<Case> cases;
  cases.push_back({"24-bit rows right after the header", PackedDib(2, 2, 24), 40});
  cases.push_back({"top-down rows", PackedDib(2, -2, 24), 40});
  cases.push_back({"8-bit with its full table", PackedDib(3, 1, 8, BI_RGB, 0, 1024), 40 + 1024});
  cases.push_back({"8-bit with a short table", PackedDib(3, 1, 8, BI_RGB, 16, 64), 40 + 64});
  cases.push_back({"bit fields with masks", PackedDib(2, 2, 32, BI_BITFIELDS, 0, 12), 52});
  {
    std::vector<BYTE> core(12 + 2 * 3 + 4, 0);
    BITMAPCOREHEADER header = {sizeof(BITMAPCOREHEADER), 3, 1, 1, 1};
    std::memcpy(core.data(), &header, sizeof(header));
    cases.push_back({"core header with two triples", core, 18});
  }
  auto broken = [](std::vector<BYTE> block, size_t at, DWORD value) {
    SetDword(block, at, value);
    return block;
  };
  cases.push_back({"header size 0", broken(PackedDib(2, 2, 24), 0, 0), 0});
  cases.push_back({"header larger than the block", broken(PackedDib(2, 2, 24), 0, 500), 0});
  cases.push_back({"colour count 0xFFFFFFFF", broken(PackedDib(2, 2, 8, BI_RGB, 0, 1024), 32, 0xFFFFFFFF), 0});
  cases.push_back({"huge colour count at 24 bits", broken(PackedDib(2, 2, 24), 32, 0x40000000), 0});
  cases.push_back({"bit fields without masks", PackedDib(2, 2, 32, BI_BITFIELDS), 0});
  cases.push_back({"bit fields at 24 bits", PackedDib(2, 2, 24, BI_BITFIELDS, 0, 12), 0});
  cases.push_back({"run-length compression", PackedDib(2, 2, 8, BI_RLE8, 0, 1024), 0});
  cases.push_back({"width 0", broken(PackedDib(2, 2, 24), 4, 0), 0});
  cases.push_back({"huge width", broken(PackedDib(2, 2, 24), 4, 0x7FFFFFFF), 0});
  cases.push_back({"bit count 7", broken(PackedDib(2, 2, 24), 12, 0x00070001), 0});
  {
    std::vector<BYTE> truncated = PackedDib(2, 2, 24);
    truncated.pop_back();
    cases.push_back({"truncated rows", truncated, 0});
  }
  cases.push_back({"shorter than any header", std::vector<BYTE>(8, 0), 0});
  for (const Case& t : cases) {
    EXPECT_EQ(t.offset, PackedDibBitsOffset(t.block.data(), t.block.size())) << t.name;
    HBITMAP bitmap = BitmapFromPackedDib(t.block.data(), t.block.size());
    EXPECT_EQ(t.offset != 0, bitmap != nullptr) << t.name;
    if (bitmap) DeleteObject(bitmap);
  }
  EXPECT_EQ(0u, PackedDibBitsOffset(nullptr, 100));
}

TEST(DropImageTest, MetafileBoundsMustBeSane) {
  struct Case {
    const char* name;
    LONG right, bottom;
    bool bitmap;
  } cases[] = {
      {"ordinary", 20, 10, true},          {"negative width", -5, 10, false}, {"zero height", 20, 0, false},
      {"huge", 100000, 10, false},         {"largest allowed", 16384, 1, true},
  };
  HDC screen = GetDC(nullptr);
  for (const Case& t : cases) {
    HENHMETAFILE metafile = testsupport::MetafileWithBounds(t.right, t.bottom);
    ASSERT_NE(nullptr, metafile) << t.name;
    HBITMAP bitmap = BitmapFromEnhMetaFile(metafile, screen);
    EXPECT_EQ(t.bitmap, bitmap != nullptr) << t.name;
    if (bitmap) {
      BITMAP info;
      GetObjectW(bitmap, sizeof(info), &info);
      EXPECT_EQ(t.right, info.bmWidth) << t.name;
      DeleteObject(bitmap);
    }
    DeleteEnhMetaFile(metafile);
  }
  EXPECT_EQ(nullptr, BitmapFromEnhMetaFile(nullptr, screen));
  ReleaseDC(nullptr, screen);
}

// A DROPFILES block naming files (wide or ANSI), each terminated, the list terminated.
std::vector<BYTE> FileList(const std::vector<std::wstring>& names, bool wide = true) {
  std::vector<BYTE> block(sizeof(DROPFILES), 0);
  auto* list = reinterpret_cast<DROPFILES*>(block.data());
  list->pFiles = sizeof(DROPFILES);
  list->fWide = wide;
  for (const std::wstring& name : names) {
    if (wide) {
      const BYTE* raw = reinterpret_cast<const BYTE*>(name.c_str());
      block.insert(block.end(), raw, raw + (name.size() + 1) * sizeof(wchar_t));
    } else {
      std::string narrow(name.begin(), name.end());
      block.insert(block.end(), narrow.c_str(), narrow.c_str() + narrow.size() + 1);
    }
  }
  block.insert(block.end(), wide ? 2 : 1, 0);
  return block;
}

class DropFileTest : public testing::Test {
protected:
  void SetUp() override {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    bitmapFile = std::wstring(folder) + L"tesk_drop_probe.bmp";
    textFile = std::wstring(folder) + L"tesk_drop_probe.txt";
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 6, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(MRender::SaveBitmapToFile(bitmap, bitmapFile.c_str()));
    DeleteObject(bitmap);
    HANDLE text = CreateFileW(textFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(text, "not a picture", 13, &written, nullptr);
    CloseHandle(text);
  }
  void TearDown() override {
    DeleteFileW(bitmapFile.c_str());
    DeleteFileW(textFile.c_str());
  }
  std::wstring bitmapFile, textFile;
};

TEST_F(DropFileTest, TheFirstDroppedFileIsLoadedWhenItIsABitmap) {
  struct Case {
    const char* name;
    std::vector<BYTE> block;
    bool bitmap;
  };
  std::vector<BYTE> outside = FileList({bitmapFile});
  reinterpret_cast<DROPFILES*>(outside.data())->pFiles = static_cast<DWORD>(outside.size() + 10);
  std::vector<BYTE> unterminated = FileList({bitmapFile});
  unterminated.resize(sizeof(DROPFILES) + 8);
  const Case cases[] = {
      {"a bitmap file", FileList({bitmapFile, textFile}), true},
      {"ANSI names", FileList({bitmapFile}, false), true},
      {"a text file first", FileList({textFile, bitmapFile}), false},
      {"a missing file", FileList({L"C:\\no\\such\\picture.bmp"}), false},
      {"no file", FileList({}), false},
      {"list offset outside the block", outside, false},
      {"name running past the block", unterminated, false},
      {"shorter than its header", std::vector<BYTE>(6, 0), false},
  };
  for (const Case& t : cases) {
    HBITMAP bitmap = BitmapFromFileList(t.block.data(), t.block.size());
    EXPECT_EQ(t.bitmap, bitmap != nullptr) << t.name;
    if (bitmap) DeleteObject(bitmap);
  }
}

FORMATETC Fmt(CLIPFORMAT format, DWORD medium, DWORD aspect = DVASPECT_CONTENT) {
  return FORMATETC{format, nullptr, aspect, -1, medium};
}

TEST(DataObjectTest, AnswersFollowTheStoredFormats) {
  CIDataObject* data = testsupport::DragOutData();
  struct Case {
    const char* name;
    FORMATETC format;
    HRESULT query;
    HRESULT get;
  } cases[] = {
      {"bitmap", Fmt(CF_BITMAP, TYMED_GDI), S_OK, S_OK},
      {"metafile", Fmt(CF_ENHMETAFILE, TYMED_ENHMF), S_OK, S_OK},
      {"DIB on global memory", Fmt(CF_DIB, TYMED_HGLOBAL), DV_E_TYMED, DV_E_FORMATETC},
      {"text on GDI", Fmt(CF_TEXT, TYMED_GDI), DV_E_TYMED, DV_E_FORMATETC},
      {"DIB on metafile medium", Fmt(CF_DIB, TYMED_ENHMF), DV_E_CLIPFORMAT, DV_E_FORMATETC},
      {"icon aspect", Fmt(CF_BITMAP, TYMED_GDI, DVASPECT_ICON), DV_E_DVASPECT, DV_E_FORMATETC},
  };
  for (Case& t : cases) {
    EXPECT_EQ(t.query, data->QueryGetData(&t.format)) << t.name;
    STGMEDIUM medium = {};
    EXPECT_EQ(t.get, data->GetData(&t.format, &medium)) << t.name;
    if (t.get == S_OK) {
      EXPECT_NE(nullptr, medium.hGlobal) << t.name;
      ReleaseStgMedium(&medium);
    }
  }
  FORMATETC any = Fmt(CF_BITMAP, TYMED_GDI);
  STGMEDIUM medium = {};
  EXPECT_EQ(E_INVALIDARG, data->QueryGetData(nullptr));
  EXPECT_EQ(E_INVALIDARG, data->GetData(nullptr, &medium));
  EXPECT_EQ(E_INVALIDARG, data->SetData(&any, nullptr, FALSE));
  EXPECT_EQ(E_NOTIMPL, data->GetDataHere(&any, &medium));
  EXPECT_EQ(OLE_E_ADVISENOTSUPPORTED, data->DAdvise(&any, 0, nullptr, nullptr));
  EXPECT_EQ(DATA_S_SAMEFORMATETC, data->GetCanonicalFormatEtc(&any, &any));
  IEnumFORMATETC* enumerator = nullptr;
  EXPECT_EQ(E_NOTIMPL, data->EnumFormatEtc(DATADIR_SET, &enumerator));
  EXPECT_EQ(E_POINTER, data->EnumFormatEtc(DATADIR_GET, nullptr));
  IUnknown* unknown = nullptr;
  EXPECT_EQ(E_NOINTERFACE, data->QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&unknown)));
  EXPECT_EQ(nullptr, unknown);
  EXPECT_EQ(0u, data->Release());

  CIDataObject* empty = new CIDataObject(nullptr);
  empty->AddRef();
  EXPECT_EQ(DV_E_TYMED, empty->QueryGetData(&any)) << "nothing stored";
  empty->Release();
}

TEST(DataObjectTest, EnumeratorWalksTheFormats) {
  CIDataObject* data = testsupport::DragOutData();
  IEnumFORMATETC* e = nullptr;
  ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_GET, &e));
  FORMATETC got[3] = {};
  ULONG fetched = 99;
  EXPECT_EQ(S_FALSE, e->Next(0, got, &fetched));
  EXPECT_EQ(0u, fetched);
  EXPECT_EQ(S_FALSE, e->Next(2, got, nullptr)) << "a null count out needs a count of 1";
  EXPECT_EQ(S_OK, e->Next(1, got, nullptr));
  EXPECT_EQ(CF_BITMAP, got[0].cfFormat);
  IEnumFORMATETC* clone = nullptr;
  ASSERT_EQ(S_OK, e->Clone(&clone));
  EXPECT_EQ(S_FALSE, e->Next(3, got, &fetched)) << "fewer left than asked";
  EXPECT_EQ(1u, fetched);
  EXPECT_EQ(CF_ENHMETAFILE, got[0].cfFormat);
  EXPECT_EQ(S_FALSE, e->Next(1, got, &fetched)) << "at the end";
  EXPECT_EQ(S_OK, clone->Next(1, got, &fetched)) << "the clone kept its own position";
  EXPECT_EQ(CF_ENHMETAFILE, got[0].cfFormat);
  e->Reset();
  EXPECT_EQ(S_FALSE, e->Skip(2)) << "skipping to exactly the end";
  EXPECT_EQ(S_OK, e->Skip(1));
  EXPECT_EQ(S_OK, e->Next(1, got, &fetched));
  EXPECT_EQ(CF_ENHMETAFILE, got[0].cfFormat);
  EXPECT_EQ(0u, clone->Release());
  EXPECT_EQ(0u, e->Release());
  data->Release();
}

TEST(DropSourceTest, ButtonsAndEscapeDecide) {
  auto* source = new CIDropSource();
  source->AddRef();
  EXPECT_EQ(DRAGDROP_S_CANCEL, source->QueryContinueDrag(TRUE, MK_LBUTTON));
  EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_LBUTTON));
  EXPECT_EQ(S_OK, source->QueryContinueDrag(FALSE, MK_RBUTTON | MK_SHIFT));
  EXPECT_FALSE(source->Dropped());
  EXPECT_EQ(DRAGDROP_S_DROP, source->QueryContinueDrag(FALSE, MK_CONTROL));
  EXPECT_TRUE(source->Dropped());
  EXPECT_EQ(DRAGDROP_S_USEDEFAULTCURSORS, source->GiveFeedback(DROPEFFECT_COPY));
  EXPECT_EQ(0u, source->Release());
}

using testsupport::DropWindow;

class EngineDropTest : public testing::Test {
protected:
  // OLE stays up for the whole suite: starting and ending it costs seconds under Wine.
  static void SetUpTestSuite() { OleInitialize(nullptr); }
  static void TearDownTestSuite() { OleUninitialize(); }
  void SetUp() override {
    ASSERT_NE(nullptr, target.Create(nullptr, L"target", WS_POPUP, WS_EX_TOPMOST, CRect(300, 300, 400, 400)));
  }
  void TearDown() override { target.DestroyWindow(); }
  testsupport::ProgramInstance instance;
  DropWindow target;
};

TEST_F(EngineDropTest, RegistrationTakesTheFourFormats) {
  EXPECT_EQ(0, target.engine.InitDragDrop()) << "a window is registered once";
  // Dropping on the engine itself keeps it alive: its own reference is never given back.
  target.engine.AddRef();
  EXPECT_GT(target.engine.Release(), 0u);
}

TEST_F(EngineDropTest, ABitmapDropGivesTheReleaseTheImageAndThenTheDropMessage) {
  CIDataObject* data = testsupport::DragOutData();
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  POINTL point = {350, 350};
  EXPECT_EQ(S_OK, target.engine.DragEnter(data, 0, point, &effect));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);
  effect = DROPEFFECT_MOVE;
  EXPECT_EQ(S_OK, target.engine.DragOver(MK_CONTROL, point, &effect));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect) << "Ctrl asks for a copy the source does not allow";
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(S_OK, target.engine.Drop(data, 0, point, &effect));
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect) << "the source is always told nothing moved";
  EXPECT_TRUE(testsupport::PumpUntil([&] { return target.seen.size() >= 4; }, 1000));
  EXPECT_EQ((std::vector<std::string>{"up", "image", "over", "drop"}), target.seen);
  EXPECT_NE(nullptr, target.image);
  data->Release();
}

TEST_F(EngineDropTest, DataWithoutASupportedFormatIsIgnored) {
  auto* data = new CIDataObject(nullptr);
  data->AddRef();
  STGMEDIUM text = {};
  text.tymed = TYMED_HGLOBAL;
  text.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 4);
  FORMATETC textFormat = Fmt(CF_TEXT, TYMED_HGLOBAL);
  data->SetData(&textFormat, &text, TRUE);
  DWORD effect = DROPEFFECT_COPY;
  POINTL point = {350, 350};
  target.engine.DragEnter(data, 0, point, &effect);
  EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), effect);
  effect = DROPEFFECT_COPY;
  target.engine.Drop(data, 0, point, &effect);
  testsupport::PumpFor(100);
  EXPECT_TRUE(target.seen.empty());
  data->Release();
}

TEST(QueryDropTest, ModifiersChooseTheEffectTheSourceAllows) {
  struct Accepting : CIDropTarget {
    Accepting() { m_bAccept = true; }
    bool OnDrop(FORMATETC*, STGMEDIUM&, DWORD*) override { return true; }
    void OnDragOver(POINTL) override {}
  };
  struct Case {
    DWORD keys, allowed, expected;
  } cases[] = {
      {0, DROPEFFECT_MOVE, DROPEFFECT_MOVE},
      {0, DROPEFFECT_LINK | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
      {0, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
      {MK_CONTROL, DROPEFFECT_MOVE, DROPEFFECT_NONE},
      {MK_CONTROL, DROPEFFECT_COPY, DROPEFFECT_COPY},
      {MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
      {MK_CONTROL | MK_SHIFT, DROPEFFECT_LINK, DROPEFFECT_LINK},
      {MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY, DROPEFFECT_NONE},
      {0, DROPEFFECT_NONE, DROPEFFECT_NONE},
  };
  Accepting target;
  for (const Case& t : cases) {
    DWORD effect = t.allowed;
    EXPECT_EQ(t.expected != DROPEFFECT_NONE, target.QueryDrop(t.keys, &effect)) << t.keys << " " << t.allowed;
    EXPECT_EQ(t.expected, effect) << t.keys << " " << t.allowed;
  }
}

// The whole OLE path without a human: the cursor rests over the target, which lies inside
// the source window, and with no button held the drag drops at once where the cursor is.
TEST_F(EngineDropTest, ADragOutOfOneWindowDropsOnTheWindowUnderTheCursor) {
  DropWindow source;
  ASSERT_NE(nullptr, source.Create(nullptr, L"source", WS_POPUP, 0, CRect(250, 250, 450, 450)));
  // Shown without activation: the cursor only has to find the windows.
  source.ShowWindow(SW_SHOWNOACTIVATE);
  target.ShowWindow(SW_SHOWNOACTIVATE);
  SetCursorPos(350, 350);
  testsupport::PumpFor(50);
  HDC screen = GetDC(nullptr);
  source.engine.SetDragBitmap(CreateCompatibleBitmap(screen, 8, 8));
  ReleaseDC(nullptr, screen);
  source.engine.StartDrag();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return target.Dropped(); }, 1000));
  RECT clip;
  GetClipCursor(&clip);
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), clip.right - clip.left) << "the cursor is free again";
  EXPECT_NE(nullptr, target.image);
}

// 300 drops of pictures leave no GDI object behind (counted by handle: GetGuiResources
// answers 0 under Wine). Each drop's picture is freed by the next drop and the last one with
// the window, whether the window answers STM_SETIMAGE or not, and the medium is released.
TEST_F(EngineDropTest, DroppedPicturesAreFreedByTheNextDropAndWithTheWindow) {
  HDC screen = GetDC(nullptr);
  const struct {
    const char* name;
    CLIPFORMAT format;
    DWORD tymed;
  } kinds[] = {{"bitmap", CF_BITMAP, TYMED_GDI}, {"device-independent bitmap", CF_DIB, TYMED_HGLOBAL}};
  int drops = 0;
  for (bool answers : {false, true}) {
    for (const auto& kind : kinds) {
      DropWindow window;
      window.takesImage = answers;
      ASSERT_NE(nullptr, window.Create(nullptr, L"drops", WS_POPUP, 0, CRect(0, 0, 50, 50)));
      const std::string name = std::string(kind.name) + (answers ? ", window answers" : ", window only looks");
      HBITMAP previous = nullptr;
      for (int i = 0; i < 75; ++i, ++drops) {
        STGMEDIUM medium = {};
        medium.tymed = kind.tymed;
        if (kind.tymed == TYMED_GDI) {
          medium.hBitmap = CreateCompatibleBitmap(screen, 4, 4);
        } else {
          const std::vector<BYTE> dib = PackedDib(4, 4, 24);
          medium.hGlobal = GlobalAlloc(GMEM_MOVEABLE, dib.size());
          std::memcpy(GlobalLock(medium.hGlobal), dib.data(), dib.size());
          GlobalUnlock(medium.hGlobal);
        }
        FORMATETC format = Fmt(kind.format, kind.tymed);
        DWORD effect = DROPEFFECT_COPY;
        ASSERT_TRUE(window.engine.OnDrop(&format, medium, &effect)) << name << ": the medium is released";
        ReleaseStgMedium(&medium);
        ASSERT_NE(nullptr, window.image) << name;
        ASSERT_NE(previous, window.image) << name;
        // Nothing was made after the engine freed the picture before: its handle is not reused yet.
        if (previous) ASSERT_EQ(0u, GetObjectType(previous)) << name << ", drop " << i;
        previous = window.image;
        EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(previous)) << name << ": the window may use it";
      }
      window.DestroyWindow();
      EXPECT_EQ(0u, GetObjectType(previous)) << name << ": the last picture goes with the window";
    }
  }
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(300, drops);
}

}  // namespace
