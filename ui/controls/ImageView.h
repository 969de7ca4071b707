// ImageView: a small image editor. It shows a base image shrunk to fit, takes text layers,
// pen and eraser strokes and a 10-pixel grid, and keeps the edited result as a PNG copy in
// the edit folder of the user's data folder: opening an image copies it there, and every
// completed change renders the base image with its layers into that copy and then tells the
// owner NOTIFY_IMAGESAVED (32), only once the file was written whole. A preview mode cycles
// through a list of frames on the engine's control ticks. Only the panel factory makes it.
//
// Threads: everything runs on the window's thread except OnControlTimer (the multimedia
// timer thread). The frame lock guards the frames and the preview state, the layer lock the
// layers; neither is held while the other is taken. The view owns its frames, layers and
// base image.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"
#include "ui/core/MControlFont.h"
#include "ui/core/MRender.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// One preview frame: the file, a full-size copy of its picture (the file is not kept open;
// null when it did not load), its size, and how long it stays, in milliseconds.
struct TESK_API PREVIEW_FRAME {
  PREVIEW_FRAME() = default;
  ~PREVIEW_FRAME();
  PREVIEW_FRAME(const PREVIEW_FRAME&) = delete;
  PREVIEW_FRAME& operator=(const PREVIEW_FRAME&) = delete;

  CString file;
  Gdiplus::Image* image = nullptr;
  int width = 0;
  int height = 0;
  int duration = 0;
  int spare = 0;  // given with the frame, unused
};

// One layer over the base image, in window coordinates.
struct EDIT_LAYER {
  enum Type { kText = 1, kPen = 2, kEraser = 3 };
  static constexpr int kMaxPoints = 500;

  int type = kText;
  Gdiplus::ARGB colour = 0xFF000000;  // always opaque
  int size = 0;                       // text: pixels; strokes: pen width
  CString text;
  int x = 0, y = 0;                   // text: top-left
  RECT bounds = {0, 0, 0, 0};         // text: where it was last drawn, 6 pixels of margin
  int count = 0;                      // strokes: points used
  POINT points[kMaxPoints] = {};
};

class TESK_API ImageView : public MControlFont {
public:
  // Draw modes: what the left button does.
  static constexpr int kModeMoveText = 100;
  static constexpr int kModeImage = 101;
  static constexpr int kModePen = 102;
  static constexpr int kModeEraser = 111;

  ImageView(MObject* owner, UINT id, CRect rect, int visible, int enabled);
  ~ImageView() override;

  void DrawControl(HDC& dc, CRect dirty) override;
  int OnControlTimer() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  int OnControlRButtonDown(UINT keys, CPoint pt) override;
  int OnControlRButtonUp(UINT keys, CPoint pt) override;

  // Opens file: the layers go, a copy of the file becomes the edited file (edit_<name> in the
  // folder edit of the user's data folder, which is created), and the file's picture the
  // base image. Returns the edited file's path.
  CString SetImage(const wchar_t* file);
  CString GetEditImageFile() const { return m_editFile; }
  // Renders the base image with its layers into the edited file and notifies 32; nothing
  // without a base size or a surface, and no 32 unless the file was replaced whole.
  void SaveCurrentImage();
  // Shrinks the picture of file to fit the view when it is at least as wide or as tall, and
  // writes it back as PNG; the file is replaced whole or left unchanged. No notification.
  void SaveCurrentImage(CString file);
  void SaveImageData();          // the edited file over the source file
  void RecoverOriginalImage();   // the source file over the edited file, then ClearCurEdit

  void AddText(CString text);
  void SetColorValue(COLORREF colour);
  void SetFontSize(int size);
  void SetPenSize(int size) { m_penSize = size; }
  void SetDrawMode(int mode) { m_drawMode = mode; }
  void SetEraserMode() { m_drawMode = kModeEraser; }
  void AddImage(CString file);
  void SetShowGridLine(int show);
  void SetScale100(float scale);
  void ClearCurEdit();
  void RecoverCurEdit();

  // Preview frames.
  int AddString(CString file, int duration, int spare);
  CString GetItemImageFile(int index);
  int GetItemCount();
  int DeleteAllItems();
  void SetImagePreviewMode(bool on);

protected:
  // Draws the layers with window coordinates moved by -origin's top-left; display marks the
  // selected text layer.
  void DrawLayer(Gdiplus::Graphics& g, CRect origin, int display);
  // The layers mapped onto target: text positions and sizes scaled from the view's fitted
  // picture to the target, strokes only moved by the target's top-left.
  void DrawLayer2(Gdiplus::Graphics& g, CRect target, int display);
  // Where a w x h picture is shown in box: shrunk to fit, keeping its proportions, centred.
  CRect GetImageRect(int w, int h, CRect box) const;
  // A top-down 32-bit DIB section; bits receives its pixels. Null on failure.
  HBITMAP CreateARGB32Bitmap(HDC dc, int w, int h, BYTE** bits);

  // How layers are placed: text at (x, y) goes to (x * textScaleX + textX, ...), its size is
  // scaled by fontScale; a stroke point moves by (strokeX, strokeY).
  struct LayerPlacement {
    float textX, textY, textScaleX, textScaleY, fontScale;
    int strokeX, strokeY;
    bool display;
  };
  void DrawLayers(Gdiplus::Graphics& g, const LayerPlacement& place);
  // The selected layer, or null when the selection names none. Call under the layer lock.
  EDIT_LAYER* SelectedLayer();
  // The picture of the base image (or of image) drawn at w x h with layers placed by place,
  // as PNG bytes with alpha 255; empty when no surface could be made or encoding failed.
  std::vector<unsigned char> RenderPng(Gdiplus::Image* image, int w, int h, const LayerPlacement* place);
  // The control's family, else an installed sans-serif one; null when there is none.
  const Gdiplus::FontFamily* TextFamily();
  void Repaint() { RepaintIfVisible(); }

  std::vector<std::unique_ptr<PREVIEW_FRAME>> m_frames;
  CriticalSection m_frameLock;
  bool m_previewMode;
  int m_previewFrame;
  int m_previewCount;
  DWORD m_previewTick;
  CRect m_displayRect;
  CString m_editFile;
  CString m_sourceFile;
  int m_modified;
  int m_grid;
  int m_drawMode;
  int m_penSize;
  COLORREF m_colour;
  POINT m_lastPoint;
  std::vector<std::unique_ptr<EDIT_LAYER>> m_layers;
  CriticalSection m_layerLock;
  int m_selected;
  FallbackFontFamily m_fallbackFamily;  // when the control's face is missing
  std::unique_ptr<Gdiplus::Image> m_baseImage;
  int m_baseWidth;
  int m_baseHeight;
};

}  // namespace TESK
