#include "shell/HeaderPictures.h"

#include <windows.h>

#include <functional>

#include "util/BitmapCanvas.h"
#include "util/Gbk.h"
#include "util/WideText_win.h"

namespace tvk {

namespace {

// Paints a width x height picture and returns it as a 32-bit BMP file.
std::string RenderBmp(int width, int height, const std::function<void(HDC, const RECT&)>& paint) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  std::string bytes;
  if (dc && bitmap) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    paint(dc, all);
    BitmapCanvas canvas;
    if (canvas.LoadFromDc(dc, all, 32)) bytes = canvas.ToBmpFileBytes();
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return bytes;
}

void FillRounded(HDC dc, const RECT& r, COLORREF color, int radius) {
  HBRUSH brush = CreateSolidBrush(color);
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void DrawCentred(HDC dc, RECT r, const std::wstring& text, int height, COLORREF color, bool bold) {
  HFONT font = CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

COLORREF CaptionColor(const std::string& caption) {
  static const COLORREF kColors[] = {RGB(30, 136, 229), RGB(67, 160, 71), RGB(142, 36, 170), RGB(229, 57, 53),
                                     RGB(0, 137, 123)};
  unsigned hash = 2166136261u;
  for (unsigned char c : caption) hash = (hash ^ c) * 16777619u;
  return kColors[hash % 5];
}

COLORREF Lighter(COLORREF c) {
  return RGB((GetRValue(c) + 255) / 2, (GetGValue(c) + 255) / 2, (GetBValue(c) + 255) / 2);
}

}  // namespace

std::string HeaderPicture(const std::string& caption, bool hot) {
  // The first two characters (a Chinese character counts one), or "QQ" for a number.
  std::string glyph = std::string(GbkPrefix(caption, 4));
  if (!caption.empty() && caption[0] >= '0' && caption[0] <= '9') glyph = "QQ";
  COLORREF color = CaptionColor(caption);
  return RenderBmp(64, 64, [&](HDC dc, const RECT& all) {
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT badge{6, 6, 58, 58};
    FillRounded(dc, badge, hot ? Lighter(color) : color, 14);
    DrawCentred(dc, badge, Widen(glyph), 18, RGB(255, 255, 255), true);
  });
}

std::string BrandPicture(bool hot) {
  return RenderBmp(195, 64, [&](HDC dc, const RECT& all) {
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT band{0, 8, 195, 56};
    FillRounded(dc, band, hot ? RGB(255, 167, 38) : RGB(245, 124, 0), 20);
    DrawCentred(dc, band, Widen("Tavrel软件"), 24, RGB(255, 255, 255), true);
  });
}

std::string DefaultIconPicture() {
  return RenderBmp(26, 26, [&](HDC dc, const RECT& all) {
    HBRUSH back = CreateSolidBrush(RGB(245, 245, 245));
    FillRect(dc, &all, back);
    DeleteObject(back);
    RECT box{4, 6, 22, 22};
    FillRounded(dc, box, RGB(176, 190, 197), 4);
    RECT lid{3, 4, 23, 9};
    FillRounded(dc, lid, RGB(144, 164, 174), 3);
  });
}

}  // namespace tvk
