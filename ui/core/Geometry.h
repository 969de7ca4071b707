// CPoint, CSize and CRect: the platform's POINT, SIZE and RECT with the operations the
// library and the program use. Plain values, header-only, identical in both modules.
#pragma once

#include <windows.h>

class CSize : public SIZE {
public:
  CSize() { cx = cy = 0; }
  CSize(int x, int y) { cx = x; cy = y; }
  CSize(SIZE s) { cx = s.cx; cy = s.cy; }
  bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(SIZE s) const { return !(*this == s); }
  CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
  CSize& operator+=(SIZE s) { cx += s.cx; cy += s.cy; return *this; }
  CSize& operator-=(SIZE s) { cx -= s.cx; cy -= s.cy; return *this; }
};

class CPoint : public POINT {
public:
  CPoint() { x = y = 0; }
  CPoint(int px, int py) { x = px; y = py; }
  CPoint(POINT p) { x = p.x; y = p.y; }
  CPoint(SIZE s) { x = s.cx; y = s.cy; }
  // Unpacks a mouse message's lParam (signed coordinates).
  explicit CPoint(LPARAM lParam) {
    x = static_cast<short>(LOWORD(lParam));
    y = static_cast<short>(HIWORD(lParam));
  }
  void Offset(int dx, int dy) { x += dx; y += dy; }
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(SIZE s) { Offset(s.cx, s.cy); }
  void SetPoint(int px, int py) { x = px; y = py; }
  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  CPoint& operator+=(POINT p) { Offset(p); return *this; }
  CPoint& operator-=(POINT p) { Offset(-p.x, -p.y); return *this; }
  CPoint& operator+=(SIZE s) { Offset(s); return *this; }
  CPoint& operator-=(SIZE s) { Offset(-s.cx, -s.cy); return *this; }
  CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
  CPoint operator-(POINT p) const { return CPoint(x - p.x, y - p.y); }
  CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& r) { CopyRect(&r); }
  CRect(const RECT* r) { if (r) CopyRect(r); else SetRectEmpty(); }
  CRect(POINT topLeft, SIZE size) { SetRect(topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy); }
  CRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  operator RECT*() { return this; }
  operator const RECT*() const { return this; }

  // Empty: no area (width or height not positive). Null: all four values zero.
  bool IsRectEmpty() const { return right <= left || bottom <= top; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  // Right and bottom edges are outside, as with the platform's PtInRect.
  bool PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  bool EqualRect(const RECT* r) const {
    return r && left == r->left && top == r->top && right == r->right && bottom == r->bottom;
  }

  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(const RECT* r) { SetRect(r->left, r->top, r->right, r->bottom); }
  void InflateRect(int dx, int dy) { left -= dx; top -= dy; right += dx; bottom += dy; }
  void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
  void InflateRect(const RECT* r) { InflateRect(r->left, r->top, r->right, r->bottom); }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  void DeflateRect(const RECT* r) { DeflateRect(r->left, r->top, r->right, r->bottom); }
  void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
  void MoveToX(int x) { right += x - left; left = x; }
  void MoveToY(int y) { bottom += y - top; top = y; }
  void MoveToXY(int x, int y) { MoveToX(x); MoveToY(y); }
  void MoveToXY(POINT p) { MoveToXY(p.x, p.y); }
  void NormalizeRect() {
    if (left > right) { const LONG t = left; left = right; right = t; }
    if (top > bottom) { const LONG t = top; top = bottom; bottom = t; }
  }
  // The set operations follow the platform: an empty result is all zeros.
  bool IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b) != FALSE; }
  bool UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b) != FALSE; }
  bool SubtractRect(const RECT* a, const RECT* b) { return ::SubtractRect(this, a, b) != FALSE; }

  bool operator==(const RECT& r) const { return EqualRect(&r); }
  bool operator!=(const RECT& r) const { return !EqualRect(&r); }
  CRect& operator=(const RECT& r) { CopyRect(&r); return *this; }
  CRect& operator+=(POINT p) { OffsetRect(p); return *this; }
  CRect& operator-=(POINT p) { OffsetRect(-p.x, -p.y); return *this; }
  CRect& operator+=(SIZE s) { OffsetRect(s); return *this; }
  CRect& operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); return *this; }
  CRect& operator&=(const RECT& r) { CRect a(*this); IntersectRect(&a, &r); return *this; }
  CRect& operator|=(const RECT& r) { CRect a(*this); UnionRect(&a, &r); return *this; }
  CRect operator+(POINT p) const { CRect r(*this); r.OffsetRect(p); return r; }
  CRect operator-(POINT p) const { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
  CRect operator&(const RECT& o) const { CRect r; r.IntersectRect(this, &o); return r; }
  CRect operator|(const RECT& o) const { CRect r; r.UnionRect(this, &o); return r; }
};
