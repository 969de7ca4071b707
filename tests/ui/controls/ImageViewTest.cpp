#include "ui/controls/ImageView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "FileBytes.h"
#include "FileProbe.h"
#include "ProgramInstance.h"
#include "TempFolder.h"
#include "ui/core/ControlFactory.h"
#include "ui/core/Manager.h"
#include "ui/core/UserFiles.h"

using TESK::EDIT_LAYER;
using TESK::ImageView;

namespace {

constexpr UINT kViewId = 50;
constexpr DWORD kPenArgb = 0xFFEE6E01;  // the default colour 0x016EEE, opaque

class OpenImageView : public ImageView {
public:
  using ImageView::ImageView;
  using ImageView::GetImageRect;
  using ImageView::m_baseHeight;
  using ImageView::m_baseWidth;
  using ImageView::m_layers;
  using ImageView::m_previewFrame;
  using ImageView::m_previewTick;
  using ImageView::m_selected;
};

TEST(ImageViewFitTest, OnlyShrinksKeepingProportionsAndCentres) {
  testsupport::ProgramInstance instance;
  OpenImageView view(nullptr, 1, CRect(0, 0, 400, 400), 1, 1);
  struct Case {
    int w, h;
    CRect shown;
    const char* rule;
  } cases[] = {
      {800, 600, CRect(0, 50, 400, 350), "wider and taller, the width fits"},
      {600, 800, CRect(50, 0, 350, 400), "wider and taller, the height fits"},
      {800, 200, CRect(0, 150, 400, 250), "only wider"},
      {200, 800, CRect(150, 0, 250, 400), "only taller"},
      {300, 200, CRect(50, 100, 350, 300), "fits: unscaled"},
      {400, 500, CRect(0, -50, 400, 450), "as wide as the view and taller: unchanged"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.shown, view.GetImageRect(c.w, c.h, CRect(0, 0, 400, 400))) << c.rule;
  EXPECT_EQ(CRect(60, 80, 460, 380), view.GetImageRect(800, 600, CRect(60, 30, 460, 430))) << "box offset";
}

TEST(ImageViewFactoryTest, PanelMakesItVisibleAndEnabled) {
  testsupport::ProgramInstance instance;
  const TESK::ControlCreateArgs args = {nullptr, 7, CRect(0, 0, 50, 50), L"", 1, 0};
  std::unique_ptr<TESK::MControl> made(ConstructControl(TESK::PanelControlClasses(), L"ImageView", args));
  ASSERT_NE(nullptr, dynamic_cast<ImageView*>(made.get()));
  EXPECT_EQ(1, made->IsVisible());
  EXPECT_EQ(1, made->IsEnabled());
  EXPECT_EQ(nullptr, ConstructControl(TESK::EngineControlClasses(), L"ImageView", args)) << "the panel's only";
}

// A view of 400 x 400 at the host's top-left, a device name of its own (so its data folder
// starts absent and goes afterwards) and source pictures in a scratch folder.
class ImageViewTest : public testing::Test {
protected:
  void SetUp() override {
    previousDevice = TESK::Manager::GetDeviceName();
    TESK::Manager::SetDeviceName(L"ImageView Test Device");
    dataFolder = std::wstring(TESK::GetUserDataFolder());
    testsupport::DeleteTree(dataFolder);
    view = new OpenImageView(&host, kViewId, CRect(0, 0, 400, 400), 1, 1);
    host.Adopt(view);
    view->SetPenSize(6);
  }
  void TearDown() override {
    host.DestroyWindow();
    testsupport::DeleteTree(dataFolder);
    TESK::Manager::SetDeviceName(previousDevice);
  }
  // A PNG of one colour in the scratch folder.
  std::wstring Picture(const wchar_t* name, int w, int h, DWORD rgb) {
    testsupport::DibSurface surface(w, h, rgb);
    const std::wstring path = temp.Path() + name;
    EXPECT_TRUE(testsupport::SavePng(surface, path.c_str()));
    return path;
  }
  int Saves() const {
    const std::vector<std::string> seen = host.Notifications();
    return static_cast<int>(std::count(seen.begin(), seen.end(), std::to_string(kViewId) + " notify 32 (0, 0)"));
  }
  int LayerCount() const { return static_cast<int>(view->m_layers.size()); }
  std::wstring EditFolder() const { return dataFolder + L"edit\\"; }
  // A pen stroke from (x, y) to the right, in steps of 10 pixels.
  void Stroke(int x, int y, int steps) {
    host.MoveTo(CPoint(x, y));
    host.Press(CPoint(x, y));
    for (int i = 1; i <= steps; ++i) host.MoveTo(CPoint(x + 10 * i, y));
    host.Release(CPoint(x + 10 * steps, y));
  }

  testsupport::ProgramInstance instance;
  testsupport::GdiplusSession gdiplus;
  testsupport::TempFolder temp;
  testsupport::ControlHost host{400, 400};
  OpenImageView* view = nullptr;  // owned by the host's engine
  CString previousDevice;
  std::wstring dataFolder;
};

TEST_F(ImageViewTest, OpeningCopiesTheFileIntoAFreshEditFolder) {
  const std::wstring source = Picture(L"logo.png", 300, 200, 0x2040C0);
  const std::wstring edited(view->SetImage(source.c_str()));
  EXPECT_EQ(EditFolder() + L"edit_logo.png", edited);
  EXPECT_EQ(edited, std::wstring(view->GetEditImageFile()));
  EXPECT_EQ(testsupport::ReadFileBytes(source), testsupport::ReadFileBytes(edited)) << "a byte copy";
  EXPECT_EQ(0x2040C0u, host.PixelAt(200, 200)) << "shown unscaled in the middle";
  EXPECT_EQ(0u, host.PixelAt(20, 20)) << "black around it";

  const std::wstring mixed = temp.MakeSubFolder(L"a") + L"b/../../logo.png";
  EXPECT_EQ(EditFolder() + L"edit_logo.png", std::wstring(view->SetImage(mixed.c_str())))
      << "a source mixing separators lands inside the edit folder";
  EXPECT_EQ(0, Saves());
}

TEST_F(ImageViewTest, PenStrokeSavesTheEditedPictureOnce) {
  view->SetImage(Picture(L"base.png", 200, 100, 0x0000FF).c_str());  // shown at (100, 150)
  Stroke(150, 200, 3);
  EXPECT_EQ(1, Saves());
  ASSERT_EQ(1, LayerCount());
  EXPECT_EQ(4, view->m_layers[0]->count);

  Gdiplus::Bitmap* saved = Gdiplus::Bitmap::FromFile(view->GetEditImageFile());
  ASSERT_NE(nullptr, saved);
  ASSERT_EQ(Gdiplus::Ok, saved->GetLastStatus());
  EXPECT_EQ(200u, saved->GetWidth()) << "the base image's own size";
  EXPECT_EQ(100u, saved->GetHeight());
  Gdiplus::Color at;
  saved->GetPixel(65, 50, &at);
  EXPECT_EQ(kPenArgb, at.GetValue()) << "the stroke, placed from the shown picture's top-left";
  saved->GetPixel(150, 20, &at);
  EXPECT_EQ(0xFF0000FFu, at.GetValue()) << "the base picture";
  bool opaque = true;
  for (UINT y = 0; y < saved->GetHeight(); y += 3) {
    for (UINT x = 0; x < saved->GetWidth(); x += 3) {
      saved->GetPixel(static_cast<INT>(x), static_cast<INT>(y), &at);
      opaque = opaque && at.GetA() == 255;
    }
  }
  EXPECT_TRUE(opaque) << "alpha 255 everywhere";
  delete saved;
}

TEST_F(ImageViewTest, StrokePointsNeedMoreThanSixPixelsAndStopAtFiveHundred) {
  view->SetImage(Picture(L"base.png", 200, 100, 0x0000FF).c_str());
  view->OnControlLButtonDown(MK_LBUTTON, CPoint(100, 100));
  view->OnControlMouseMove(MK_LBUTTON, CPoint(105, 105));
  EXPECT_EQ(1, view->m_layers[0]->count) << "a 5 px move adds no point";
  view->OnControlMouseMove(MK_LBUTTON, CPoint(107, 100));
  EXPECT_EQ(2, view->m_layers[0]->count) << "7 px does";
  for (int i = 0; i < 600; ++i) view->OnControlMouseMove(MK_LBUTTON, CPoint(i % 2 ? 107 : 100, 100));
  EXPECT_EQ(500, view->m_layers[0]->count);
  EXPECT_EQ(CPoint(100, 100), CPoint(view->m_layers[0]->points[0])) << "the first points are kept";
  view->OnControlLButtonUp(0, CPoint(100, 100));
  EXPECT_EQ(1, Saves());
}

TEST_F(ImageViewTest, TextLayersSaveOnAddAndOnEveryWheelStepWithinTheirSizes) {
  view->SetImage(Picture(L"base.png", 300, 300, 0x808080).c_str());
  view->SetFontSize(58);
  view->AddText(L"Hello");
  EXPECT_EQ(1, Saves());
  ASSERT_EQ(1, LayerCount());
  EXPECT_EQ(-1, view->m_selected) << "a new text is not selected";

  view->SetDrawMode(ImageView::kModeMoveText);
  host.MoveTo(CPoint(210, 210));
  host.Press(CPoint(210, 210));
  host.Release(CPoint(210, 210));
  ASSERT_EQ(0, view->m_selected) << "a press on the text selects it";
  host.Wheel(CPoint(210, 210), 120);
  EXPECT_EQ(60, view->m_layers[0]->size);
  host.Wheel(CPoint(210, 210), 120);
  EXPECT_EQ(60, view->m_layers[0]->size) << "and stays there";
  EXPECT_EQ(3, Saves()) << "one save a wheel step";

  view->SetFontSize(7);
  EXPECT_EQ(7, view->m_layers[0]->size) << "the selected text takes the size";
  host.Wheel(CPoint(210, 210), -120);
  EXPECT_EQ(6, view->m_layers[0]->size);
}

TEST_F(ImageViewTest, DraggedTextKeepsItsLeftInsideAndItsTopOnlyWhenTheLeftNeededNoCorrection) {
  view->SetImage(Picture(L"base.png", 300, 300, 0x808080).c_str());
  view->SetFontSize(40);
  view->AddText(L"Drag me");
  view->SetDrawMode(ImageView::kModeMoveText);
  EDIT_LAYER& text = *view->m_layers[0];
  ASSERT_EQ(CPoint(200, 200), CPoint(text.x, text.y));
  ASSERT_EQ(1, view->OnControlLButtonDown(MK_LBUTTON, CPoint(240, 230)));
  ASSERT_EQ(0, view->m_selected);

  view->OnControlMouseMove(MK_LBUTTON, CPoint(241, 231));
  EXPECT_EQ(CPoint(200, 200), CPoint(text.x, text.y)) << "steps of 2 px are ignored";
  view->OnControlMouseMove(MK_LBUTTON, CPoint(250, 180));
  EXPECT_EQ(CPoint(210, 150), CPoint(text.x, text.y));
  view->OnControlMouseMove(MK_LBUTTON, CPoint(250, 10));
  EXPECT_EQ(CPoint(210, 0), CPoint(text.x, text.y)) << "the top is kept inside";
  view->OnControlMouseMove(MK_LBUTTON, CPoint(10, 5));
  EXPECT_EQ(CPoint(0, -5), CPoint(text.x, text.y)) << "the left corrected, the top left alone";
  view->OnControlLButtonUp(0, CPoint(10, 5));
  EXPECT_EQ(2, Saves()) << "the add, then the end of the drag";
}

TEST_F(ImageViewTest, NothingIsSavedWhenTheEditFolderCannotBeMade) {
  ASSERT_TRUE(TESK::CreateFolderTree(CString(dataFolder.c_str())));
  CloseHandle(CreateFileW((dataFolder + L"edit").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  view->SetImage(Picture(L"base.png", 200, 100, 0x0000FF).c_str());
  Stroke(150, 200, 2);
  view->AddText(L"Text");
  EXPECT_EQ(0, Saves());
  EXPECT_EQ(std::vector<std::wstring>{L"edit"}, testsupport::ListTree(dataFolder)) << "nothing left behind";
}

TEST_F(ImageViewTest, AnEditedCopyThatCannotBeReplacedKeepsItsBytes) {
  view->SetImage(Picture(L"logo.png", 200, 100, 0x0000FF).c_str());
  const std::wstring edited(view->GetEditImageFile());
  const std::string before = testsupport::ReadFileBytes(edited);
  HANDLE held = CreateFileW(edited.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  view->AddText(L"Text");
  CloseHandle(held);
  EXPECT_EQ(0, Saves()) << "a handle that denies sharing";
  EXPECT_EQ(before, testsupport::ReadFileBytes(edited));

  DeleteFileW(edited.c_str());
  ASSERT_TRUE(CreateDirectoryW(edited.c_str(), nullptr));
  view->AddText(L"More");
  EXPECT_EQ(0, Saves()) << "a folder in its place";
  EXPECT_EQ(std::vector<std::wstring>{L"edit_logo.png\\"}, testsupport::ListTree(EditFolder())) << "no temporary file";
}

TEST_F(ImageViewTest, WithoutABaseSizeOrASurfaceNothingIsWritten) {
  view->AddText(L"No image ever");
  EXPECT_EQ(0, Saves());
  EXPECT_FALSE(testsupport::FileExists(dataFolder)) << "no image ever loaded: nothing written";

  const std::wstring broken = temp.Path() + L"broken.png";
  testsupport::WriteFileBytes(broken, {'n', 'o', 't'});
  view->SetImage(broken.c_str());
  view->AddText(L"Still none");
  EXPECT_EQ(0, Saves()) << "a source that does not load leaves no size";
  EXPECT_EQ(0u, host.PixelAt(200, 200)) << "a black view";

  view->SetImage(Picture(L"base.png", 200, 100, 0x0000FF).c_str());
  const std::string copied = testsupport::ReadFileBytes(std::wstring(view->GetEditImageFile()));
  view->m_baseWidth = 200000;
  view->m_baseHeight = 200000;
  view->AddText(L"Too large");
  EXPECT_EQ(0, Saves()) << "no surface of that size";
  EXPECT_EQ(copied, testsupport::ReadFileBytes(std::wstring(view->GetEditImageFile())));
}

TEST_F(ImageViewTest, ShrinkingAFileReplacesItOrLeavesItAlone) {
  const std::wstring large = Picture(L"large.png", 800, 600, 0x00FF00);
  view->SaveCurrentImage(CString(large.c_str()));
  std::unique_ptr<Gdiplus::Bitmap> shrunk(Gdiplus::Bitmap::FromFile(large.c_str()));
  ASSERT_EQ(Gdiplus::Ok, shrunk->GetLastStatus());
  EXPECT_EQ(400u, shrunk->GetWidth());
  EXPECT_EQ(300u, shrunk->GetHeight());
  shrunk.reset();

  const std::wstring small = Picture(L"small.png", 100, 50, 0x00FF00);
  const std::string smallBytes = testsupport::ReadFileBytes(small);
  view->SaveCurrentImage(CString(small.c_str()));
  EXPECT_EQ(smallBytes, testsupport::ReadFileBytes(small)) << "a picture that fits is not written";

  const std::wstring held = Picture(L"held.png", 800, 600, 0x00FF00);
  const std::string heldBytes = testsupport::ReadFileBytes(held);
  HANDLE handle = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  view->SaveCurrentImage(CString(held.c_str()));
  CloseHandle(handle);
  EXPECT_EQ(heldBytes, testsupport::ReadFileBytes(held)) << "a file that cannot be replaced stays as it was";
  EXPECT_EQ(0, Saves());
}

TEST_F(ImageViewTest, PreviewStepsAfterEachFramesDurationAndChecksItsFrames) {
  view->AddString(Picture(L"f0.png", 40, 40, 0xFF0000).c_str(), 0, 0);
  view->AddString(Picture(L"f1.png", 40, 40, 0x00FF00).c_str(), 60000, 0);
  view->AddString(Picture(L"f2.png", 40, 40, 0x0000FF).c_str(), 0, 0);
  EXPECT_EQ(3, view->GetItemCount());
  EXPECT_EQ(std::wstring(), std::wstring(view->GetItemImageFile(-1)));
  EXPECT_EQ(std::wstring(), std::wstring(view->GetItemImageFile(3)));
  EXPECT_EQ(temp.Path() + L"f2.png", std::wstring(view->GetItemImageFile(2)));

  view->SetImagePreviewMode(true);
  EXPECT_EQ(0xFF0000u, host.PixelAt(200, 200));
  // One second passes since the frame was shown, without waiting for it.
  auto secondLater = [&] {
    view->m_previewTick -= 1000;
    return view->OnControlTimer();
  };
  EXPECT_EQ(1, secondLater()) << "a duration of 0 steps at once";
  EXPECT_EQ(1, view->m_previewFrame);
  EXPECT_EQ(0x00FF00u, host.PixelAt(200, 200));
  EXPECT_EQ(0, secondLater()) << "60000 ms have not passed";
  EXPECT_EQ(1, view->m_previewFrame);
  view->m_previewTick -= 60000;
  EXPECT_EQ(1, view->OnControlTimer());
  EXPECT_EQ(1, secondLater());
  EXPECT_EQ(0, view->m_previewFrame) << "wraps at the count";

  view->DeleteAllItems();
  EXPECT_EQ(0, secondLater()) << "fewer frames than the count changes nothing";
  EXPECT_EQ(0, view->m_previewFrame);
  view->SetUpdate(0, 0);
  EXPECT_EQ(0u, host.PixelAt(200, 200)) << "and the drawing shows nothing";
  host.MoveTo(CPoint(50, 50));
  host.Press(CPoint(50, 50));
  host.Release(CPoint(50, 50));
  EXPECT_EQ(0, LayerCount()) << "the mouse does nothing in preview mode";
}

TEST_F(ImageViewTest, RightReleaseInsideNotifies) {
  host.MoveTo(CPoint(100, 100));
  host.RightPress(CPoint(100, 100));
  host.RightRelease(CPoint(100, 100));
  EXPECT_EQ(std::vector<std::string>{std::to_string(kViewId) + " notify 5 (0, 0)"}, host.Notifications());
}

}  // namespace
