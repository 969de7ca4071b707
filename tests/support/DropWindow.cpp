#include "DropWindow.h"

#include <algorithm>
#include <vector>

#include "MessagePump.h"

namespace testsupport {

DropWindow::~DropWindow() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

int DropWindow::OnInitDialog() {
  engine.Init(m_hWnd, this);
  return 1;
}

void DropWindow::OnDestroyMessage(HWND hwnd) { engine.OnDestroyMessage(hwnd); }

LRESULT DropWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONUP) seen.push_back("up");
  if (message == TESK::WM_UI_DROP) seen.push_back("drop");
  if (message == TESK::WM_UI_DRAGOVER) seen.push_back("over");
  if (message == STM_SETIMAGE) {
    seen.push_back("image");
    HBITMAP previous = image;
    image = reinterpret_cast<HBITMAP>(lParam);
    return takesImage ? reinterpret_cast<LRESULT>(previous) : 0;
  }
  return MWindow::OnWindowMessage(message, wParam, lParam);
}

bool DropWindow::Dropped() const { return std::find(seen.begin(), seen.end(), "drop") != seen.end(); }

std::unique_ptr<DibSurface> DragOutAt(ControlHost& host, CPoint at) {
  const CPoint screen = host.ToScreen(at);
  DropWindow target;
  if (!target.Create(nullptr, L"target", WS_POPUP, WS_EX_TOPMOST,
                     CRect(screen.x - 30, screen.y - 30, screen.x + 30, screen.y + 30))) {
    return nullptr;
  }
  target.ShowWindow(SW_SHOWNOACTIVATE);
  PumpFor(50);
  host.MoveTo(at);
  host.Press(at);
  // The engine starts the drag on a small move with the button held, after the first move.
  host.MoveTo(at + CPoint(1, 1));
  host.MoveTo(at + CPoint(2, 2));
  const bool dropped = PumpUntil([&] { return target.Dropped(); }, 1000);
  host.Release(at);
  std::unique_ptr<DibSurface> picture = dropped ? SurfaceOf(target.image) : nullptr;
  target.DestroyWindow();
  return picture;
}

namespace {

FORMATETC Format(CLIPFORMAT format, DWORD medium) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, medium}; }

}  // namespace

TESK::CIDataObject* DragOutData() {
  auto* data = new TESK::CIDataObject(nullptr);
  data->AddRef();
  HDC screen = GetDC(nullptr);
  STGMEDIUM bitmap = {};
  bitmap.tymed = TYMED_GDI;
  bitmap.hBitmap = CreateCompatibleBitmap(screen, 4, 4);
  FORMATETC bitmapFormat = Format(CF_BITMAP, TYMED_GDI);
  data->SetData(&bitmapFormat, &bitmap, TRUE);
  ReleaseDC(nullptr, screen);
  STGMEDIUM meta = {};
  meta.tymed = TYMED_ENHMF;
  meta.hEnhMetaFile = MetafileWithBounds(4, 4);
  FORMATETC metaFormat = Format(CF_ENHMETAFILE, TYMED_ENHMF);
  data->SetData(&metaFormat, &meta, TRUE);
  return data;
}

HENHMETAFILE MetafileWithBounds(LONG right, LONG bottom) {
  HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  Rectangle(recorder, 0, 0, 20, 10);
  HENHMETAFILE original = CloseEnhMetaFile(recorder);
  std::vector<BYTE> bits(GetEnhMetaFileBits(original, 0, nullptr));
  GetEnhMetaFileBits(original, static_cast<UINT>(bits.size()), bits.data());
  DeleteEnhMetaFile(original);
  auto* header = reinterpret_cast<ENHMETAHEADER*>(bits.data());
  header->rclBounds.left = 0;
  header->rclBounds.top = 0;
  header->rclBounds.right = right;
  header->rclBounds.bottom = bottom;
  return SetEnhMetaFileBits(static_cast<UINT>(bits.size()), bits.data());
}

}  // namespace testsupport
