// Image: a control that paints a shared picture at its own size.
#include "Controls.h"
#include "Dpi.h"

namespace {

int borderWidth(const ControlRow& row) { return row.border ? 1 : 0; }

}  // namespace

// The control paints the picture itself rather than handing it to a bitmap
// static: a static copies a bitmap with alpha each time it is given one, and
// it shrinks to the bitmap so that its border would eat into the picture.
// A hidden image control is never drawn and only holds its picture, so it has
// no window: one would cost its making at start and its destruction at exit.
void Image::create(HWND parent, int id, int dpi) {
  dpi_ = dpi;
  if (row_.visible) createWindow(kClass, 0, parent, id, dpi);
}

void Image::moveTo(int dpi) {
  dpi_ = dpi;
  Control::moveTo(dpi);
}

// At its row's place, its size that of its pictures at the DPI: all of
// Tovix's are the size its row gives at 96 DPI, less the border.
RECT Image::place(int dpi) const {
  const int border = borderWidth(row_);
  const RECT atRow = Control::place(dpi);
  const auto scaled = [&](Twips length) {
    return MulDiv(twipsToPixels(length, kUnscaledDpi) - 2 * border, dpi, kUnscaledDpi) + 2 * border;
  };
  return {atRow.left, atRow.top, atRow.left + scaled(row_.width), atRow.top + scaled(row_.height)};
}

void Image::setPicture(std::shared_ptr<const Picture> picture) {
  if (picture == picture_) return;  // already showing it: nothing to repaint
  picture_ = std::move(picture);
  if (window_ != nullptr) InvalidateRect(window_, nullptr, FALSE);
}

// What Windows will not draw stays undrawn: a picture that cannot be had, or
// a memory device context to copy it from, leaves the face colour.
void Image::paint(HDC dc) const {
  RECT client{};
  GetClientRect(window_, &client);
  // The border in the colour of window frames in the user's scheme: white in
  // High Contrast Black, where a black one would vanish into the face.
  const int border = borderWidth(row_);
  if (border != 0) FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  InflateRect(&client, -border, -border);
  HBITMAP bitmap = picture_->bitmap(dpi_);
  HDC source = bitmap != nullptr ? CreateCompatibleDC(dc) : nullptr;
  if (source == nullptr) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  const HGDIOBJ previous = SelectObject(source, bitmap);
  BitBlt(dc, border, border, client.right - client.left, client.bottom - client.top, source, 0, 0, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
}

LRESULT CALLBACK Image::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto* image = static_cast<const Image*>(objectOf<Control>(window));
  if (image == nullptr) return DefWindowProcW(window, message, wParam, lParam);  // while it is being made
  switch (message) {
    case STM_GETIMAGE:
      // Which bitmap the control shows, asked as of a picture static.
      return reinterpret_cast<LRESULT>(image->picture_->bitmap(image->dpi_));
    case WM_ERASEBKGND:
      return 1;  // the border and the picture cover the whole control
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) image->paint(dc);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
