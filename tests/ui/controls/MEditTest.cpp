// Edit fields driven through the host window: the face and its text, the edit window that
// opens over the text area while the user types, Tab between fields, the modes as the
// created window shows them, the icon zone, a layered host, Space, and the field's end.
#include "ui/controls/MEdit.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "WindowSearch.h"
#include "ui/controls/CEditWnd.h"
#include "ui/core/MPanel.h"
#include "ui/core/NativeEdit.h"
#include "ui/core/PaintManager.h"

using testsupport::ControlHost;
using TESK::MEdit;

namespace {

constexpr UINT kId = 30;
constexpr DWORD kGreyInk = 0x808080;
constexpr DWORD kTextInk = 0x050505;  // the field's text colour 0xFE050505
const std::vector<DWORD> kFaceCells = {0xFFE0E0E0, 0xFFC0D0E0, 0xFFA0C0F0, 0xFFB0B0B0};

// Counts its deletions, which only its window's end may cause.
class CountedEditWnd : public TESK::CEditWnd {
public:
  explicit CountedEditWnd(int* deleted) : m_deleted(deleted) {}
  ~CountedEditWnd() override { ++*m_deleted; }

private:
  int* m_deleted;
};

class MEditTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::WriteStrip(L"edittest_face.png", 12, 40, kFaceCells));
    ASSERT_TRUE(testsupport::WriteStrip(L"edittest_icon.png", 24, 16, {0xFF800000, 0xFF008000, 0xFF000080, 0xFF808000}));
    host.Activate();
  }

  // A field 200 x 40 with the face strip and an installed face of size 12.
  MEdit* AddField(UINT id, CRect rect, const wchar_t* tip = L"") {
    MEdit* field = host.Add<MEdit>(L"MEdit", id, rect, tip);
    EXPECT_NE(nullptr, field);
    field->SetImage(L"edittest_face.png", 4);
    field->SetFont(InstalledFamily(), 12, Gdiplus::FontStyleRegular);
    return field;
  }
  static const wchar_t* InstalledFamily() {
    for (const wchar_t* name : {L"Tahoma", L"DejaVu Sans", L"Liberation Sans", L"Noto Sans"}) {
      if (Gdiplus::FontFamily(name).IsAvailable()) return name;
    }
    return L"Tahoma";
  }
  // Pixels of ink rgb in the text area of a field at rect.
  int InkIn(CRect rect, DWORD rgb) {
    testsupport::DibSurface surface(host.width(), host.height());
    host.Compose(surface);
    return surface.Count(rect.left + 6, rect.top + 8, rect.right - 6, rect.bottom - 8, rgb);
  }
  // Posts a message to the window with the keyboard focus and pumps it the modal loop's way.
  void PostToFocus(UINT message, WPARAM wParam) {
    PostMessageW(GetFocus(), message, wParam, 1);
    host.PumpPosted();
  }
  static LONG StyleOf(HWND hwnd) { return GetWindowLongW(hwnd, GWL_STYLE); }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
};

TEST_F(MEditTest, APressOpensTheEditAndTypingBecomesTheTitle) {
  const CRect rect(20, 20, 220, 60);
  MEdit* field = AddField(kId, rect, L"Type here");
  EXPECT_GT(InkIn(rect, kGreyInk), 0) << "an empty field shows its tip in grey";
  EXPECT_EQ(0, InkIn(rect, kTextInk));

  const CPoint onText(60, 40);
  host.MoveTo(onText);
  host.ClearJournal();
  host.Press(onText);
  EXPECT_EQ((std::vector<std::string>{"30 notify 30 (0, 0)", "30 notify 1 (0, 0)"}), host.Notifications());
  HWND edit = field->GetEditHwnd();
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(edit, testsupport::FindVisibleWindow(L"FSEditWindow"));
  EXPECT_EQ(edit, GetFocus());
  EXPECT_EQ(1, field->IsEditFocused());
  RECT r;
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, host.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(CRect(26, 31, 214, 49), CRect(&r)) << "over the text area of font 12: 18 px, centred";

  host.ClearJournal();
  SendMessageW(edit, WM_CHAR, 'a', 1);
  EXPECT_EQ((std::vector<std::string>{"30 notify 26 (0, 0)"}), host.Notifications());
  EXPECT_EQ(CString(L"a"), field->GetTitleEx());
  EXPECT_EQ(CString(L"a"), field->GetEditText());
  host.ClearJournal();
  host.Release(onText);
  EXPECT_EQ((std::vector<std::string>{"30 notify 2 (0, 0)"}), host.Notifications());

  field->SetEditText(nullptr);
  field->SetControlTitle(nullptr);
  EXPECT_EQ(CString(L"a"), field->GetTitleEx()) << "a null text changes nothing";

  host.SetFocusControl(nullptr);
  EXPECT_EQ(nullptr, field->GetEditHwnd()) << "losing the focus closes the edit";
  EXPECT_GT(InkIn(rect, kTextInk), 0) << "the face shows the typed text in the text colour";
  EXPECT_EQ(0, InkIn(rect, kGreyInk));
}

TEST_F(MEditTest, BothFactoriesMakeATabStopWhoseTitleArgumentIsTheTip) {
  TESK::MPanel panel(&host, 8, CRect(0, 0, 300, 300), 1);
  MEdit* fields[] = {host.Add<MEdit>(L"MEdit", 5, CRect(0, 0, 100, 30), L"tip", 1, 0),
                     dynamic_cast<MEdit*>(panel.CreateControl(L"MEdit", 6, CRect(0, 0, 100, 30), L"tip", 1, 0))};
  for (MEdit* field : fields) {
    ASSERT_NE(nullptr, field);
    EXPECT_TRUE(field->GetTitleEx().IsEmpty());
    EXPECT_EQ(1, field->IsTabStop());
    EXPECT_EQ(0, field->IsEnabled());
    EXPECT_EQ(0xFE050505u, field->GetTextColor());
  }
}

TEST_F(MEditTest, TabMovesTheEditFromFieldToField) {
  MEdit* first = AddField(1, CRect(20, 20, 220, 60));
  MEdit* second = AddField(2, CRect(20, 80, 220, 120));
  host.PostKey(VK_TAB);
  HWND firstEdit = first->GetEditHwnd();
  ASSERT_NE(nullptr, firstEdit);
  EXPECT_EQ(firstEdit, GetFocus());
  EXPECT_EQ((std::vector<std::string>{"1 notify 30 (0, 0)"}), host.Notifications());
  PostToFocus(WM_CHAR, 'x');
  EXPECT_EQ(CString(L"x"), first->GetTitleEx());

  host.ClearJournal();
  PostToFocus(WM_KEYDOWN, VK_TAB);
  HWND secondEdit = second->GetEditHwnd();
  ASSERT_NE(nullptr, secondEdit);
  EXPECT_EQ(secondEdit, GetFocus());
  EXPECT_EQ(nullptr, first->GetEditHwnd()) << "one edit window at a time";
  EXPECT_EQ(CString(L"x"), first->GetTitleEx());
  const std::vector<std::string> notes = host.Notifications();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ("1 notify 29 (0, 0)", notes.front());
  EXPECT_EQ("2 notify 30 (0, 0)", notes.back());
  PostToFocus(WM_CHAR, 'y');
  EXPECT_EQ(CString(L"y"), second->GetTitleEx());
  EXPECT_EQ(CString(L"x"), first->GetTitleEx());

  PostToFocus(WM_KEYDOWN, VK_TAB);
  EXPECT_EQ(first->GetEditHwnd(), GetFocus()) << "Tab wraps around";
  EXPECT_EQ(nullptr, second->GetEditHwnd());
  wchar_t text[8] = {};
  GetWindowTextW(GetFocus(), text, 8);
  EXPECT_STREQ(L"x", text) << "the reused window shows the first field's title";
}

TEST_F(MEditTest, ModesAreReadFromTheCreatedWindow) {
  const struct {
    const char* mode;
    std::function<void(MEdit&)> set;
    std::function<void(MEdit&, HWND)> check;
  } cases[] = {
      {"password", [](MEdit& f) { f.EnablePassWord(1); },
       [](MEdit&, HWND w) {
         EXPECT_TRUE(StyleOf(w) & ES_PASSWORD);
         EXPECT_EQ(0xA1F1, SendMessageW(w, EM_GETPASSWORDCHAR, 0, 0));
       }},
      {"digits only", [](MEdit& f) { f.SetNumberOnly(1); },
       [](MEdit& f, HWND w) {
         EXPECT_TRUE(StyleOf(w) & ES_NUMBER);
         SendMessageW(w, WM_CHAR, 'a', 1);
         SendMessageW(w, WM_CHAR, '7', 1);
         EXPECT_EQ(CString(L"7"), f.GetTitleEx());
       }},
      {"typed characters off", [](MEdit& f) { f.EnableCharMessage(0); },
       [](MEdit& f, HWND w) {
         EXPECT_EQ(1, SendMessageW(w, WM_CHAR, 'a', 1));
         EXPECT_TRUE(f.GetTitleEx().IsEmpty());
         f.SetControlTitle(L"set by the program");
         wchar_t text[32] = {};
         GetWindowTextW(w, text, 32);
         EXPECT_STREQ(L"set by the program", text);
       }},
      {"limit", [](MEdit& f) { f.SetLimitText(4); },
       [](MEdit&, HWND w) { EXPECT_EQ(4, SendMessageW(w, EM_GETLIMITTEXT, 0, 0)); }},
      {"centred", [](MEdit& f) { f.SetAlignment(1); }, [](MEdit&, HWND w) { EXPECT_TRUE(StyleOf(w) & ES_CENTER); }},
      {"right", [](MEdit& f) { f.SetAlignment(2); }, [](MEdit&, HWND w) { EXPECT_TRUE(StyleOf(w) & ES_RIGHT); }},
      {"multi-line", [](MEdit& f) { f.EnableMultLine(1); },
       [](MEdit&, HWND w) { EXPECT_TRUE(StyleOf(w) & ES_MULTILINE); }},
      {"plain", [](MEdit&) {},
       [](MEdit&, HWND w) {
         EXPECT_FALSE(StyleOf(w) & (ES_PASSWORD | ES_NUMBER | ES_CENTER | ES_RIGHT | ES_MULTILINE));
         EXPECT_EQ(120, SendMessageW(w, EM_GETLIMITTEXT, 0, 0));
       }},
  };
  UINT id = 100;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    MEdit* field = AddField(++id, CRect(20, 20, 220, 60));
    c.set(*field);
    field->ShowEdit();
    HWND edit = field->GetEditHwnd();
    ASSERT_NE(nullptr, edit);
    c.check(*field, edit);
    host.GetPaintManager()->RemoveControl(field);
  }

  MEdit* readOnly = AddField(110, CRect(20, 20, 220, 60));
  readOnly->SetReadOnly(1);
  host.ClearJournal();
  host.Click(CPoint(60, 40));
  EXPECT_EQ(nullptr, testsupport::FindVisibleWindow(L"FSEditWindow")) << "a read-only field opens no window";
  EXPECT_EQ((std::vector<std::string>{"110 notify 1 (0, 0)", "110 notify 2 (0, 0)"}), host.Notifications());
}

TEST_F(MEditTest, PasswordCharactersReplaceTheTitleOnTheFace) {
  MEdit* hidden = AddField(1, CRect(20, 20, 220, 60));
  hidden->EnablePassWord(1);
  hidden->SetTitle(L"abcde");
  MEdit* shown = AddField(2, CRect(20, 80, 220, 120));
  shown->SetTitle(CString(wchar_t(0xA1F1), 5));
  testsupport::DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  int inked = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      ASSERT_EQ(surface.Pixel(20 + x, 80 + y), surface.Pixel(20 + x, 20 + y)) << x << ", " << y;
      if (surface.Pixel(20 + x, 20 + y) == kTextInk) ++inked;
    }
  }
  EXPECT_GT(inked, 0);
}

TEST_F(MEditTest, TextAreaAndTheIconZone) {
  MEdit* field = AddField(kId, CRect(0, 0, 200, 40));
  field->SetFont(InstalledFamily(), 10, Gdiplus::FontStyleRegular);
  EXPECT_EQ(CRect(6, 13, 194, 27), field->CalcTextRect(1));
  EXPECT_EQ(0, field->SetIconImage(L"edittest_missing.png", 4));
  ASSERT_EQ(1, field->SetIconImage(L"edittest_icon.png", 4));
  EXPECT_EQ(CRect(6, 13, 164, 27), field->CalcTextRect(1));
  field->SetTextRect(CRect(10, 10, 100, 30));
  EXPECT_EQ(CRect(10, 10, 100, 30), field->GetTextRect()) << "a fixed area is used as it is";

  const CPoint onIcon(179, 20), onText(50, 20);
  host.MoveTo(onText);
  host.Press(onText);
  host.Release(onText);
  ASSERT_NE(nullptr, field->GetEditHwnd());
  host.ClearJournal();
  host.MoveTo(onIcon);
  host.Press(onIcon);
  // 29 twice, as written: the edit window's focus loss, then the hiding.
  EXPECT_EQ((std::vector<std::string>{"30 notify 29 (0, 0)", "30 notify 29 (0, 0)", "30 notify 9 (0, 0)"}),
            host.Notifications());
  EXPECT_EQ(0x000080u, host.PixelAt(onIcon.x, onIcon.y)) << "the pressed icon frame";
  host.ClearJournal();
  host.Release(onIcon);
  const std::vector<std::string> notes = host.Notifications();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ("30 notify 31 (0, 0)", notes.front());
  EXPECT_EQ(nullptr, field->GetEditHwnd());

  // Reading the title through the base ends an edit in progress.
  field->ShowEdit();
  ASSERT_NE(nullptr, field->GetEditHwnd());
  host.ClearJournal();
  field->GetTitle();
  EXPECT_EQ(nullptr, field->GetEditHwnd());
  EXPECT_EQ((std::vector<std::string>{"30 notify 29 (0, 0)", "30 notify 29 (0, 0)"}), host.Notifications());
}

TEST_F(MEditTest, OverALayeredHostTheEditIsAPopupWithTheFieldsColours) {
  host.GetPaintManager()->SetLayeredWindow(1);
  MEdit* field = AddField(kId, CRect(20, 20, 220, 60));
  field->SetEditBKColor(0x123456);
  field->ShowEdit();
  HWND edit = field->GetEditHwnd();
  ASSERT_NE(nullptr, edit);
  EXPECT_TRUE(StyleOf(edit) & WS_POPUP);
  RECT hostRect, editRect;
  GetWindowRect(host.GetSafeHwnd(), &hostRect);
  GetWindowRect(edit, &editRect);
  EXPECT_EQ(hostRect.left + 26, editRect.left);
  EXPECT_EQ(hostRect.top + 31, editRect.top);

  HDC dc = GetDC(edit);
  const LRESULT brush =
      SendMessageW(edit, TESK::kReflectedColorEdit, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  ASSERT_NE(0, brush);
  LOGBRUSH info = {};
  GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(info), &info);
  EXPECT_EQ(0x123456u, info.lbColor);
  EXPECT_EQ(kTextInk, GetTextColor(dc));
  field->SetEditBKColor(0xFFFFFFFF);
  EXPECT_EQ(0, SendMessageW(edit, TESK::kReflectedColorEdit, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(edit)));
  ReleaseDC(edit, dc);
}

TEST_F(MEditTest, SpaceWithTheFocusedFlagPressesAndClicks) {
  MEdit* field = AddField(kId, CRect(20, 20, 220, 60));
  host.MoveTo(CPoint(60, 40));
  field->ShowEdit();
  host.ClearJournal();
  {
    testsupport::KeyState ctrl(false, true);
    host.Key(VK_SPACE);
  }
  EXPECT_TRUE(host.Notifications().empty()) << "not with a modifier";
  host.Key(VK_SPACE);
  EXPECT_EQ((std::vector<std::string>{"30 notify 1 (0, 0)", "30 notify 2 (0, 0)"}), host.Notifications());
  field->HideEdit();
  host.ClearJournal();
  host.Key(VK_SPACE);
  EXPECT_TRUE(host.Notifications().empty()) << "not without the focused flag";
}

TEST_F(MEditTest, AFieldDestroyedWithItsEditOpenTakesTheWindowAlong) {
  MEdit* field = AddField(kId, CRect(20, 20, 220, 60));
  int deleted = 0;
  auto* window = new CountedEditWnd(&deleted);
  window->ShowEdit(field);
  field->SetEditWindow(window);
  HWND edit = field->GetEditHwnd();
  ASSERT_NE(nullptr, edit);
  SendMessageW(edit, WM_CHAR, 'q', 1);
  EXPECT_EQ(CString(L"q"), field->GetTitleEx());
  host.ClearJournal();
  host.GetPaintManager()->RemoveControl(field);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(1, deleted);
  EXPECT_TRUE(host.Journal().empty()) << "nothing was asked of the field after its end began";

  // A field whose window ends first only loses its pointer.
  MEdit* other = AddField(kId + 1, CRect(20, 80, 220, 120));
  other->ShowEdit();
  DestroyWindow(other->GetEditHwnd());
  EXPECT_EQ(nullptr, other->GetEditHwnd());
  other->ShowEdit();
  EXPECT_NE(nullptr, other->GetEditHwnd()) << "a new window is made";
}

}  // namespace
