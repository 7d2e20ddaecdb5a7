// Image: a control that paints a shared picture at its own size.
#include "Controls.h"
#include "Dpi.h"
#include "Form.h"

namespace {

constexpr wchar_t kImageClass[] = L"Tovix.Image";

int borderWidth(const ControlRow& row) { return row.border ? 1 : 0; }

}  // namespace

// The control paints the picture itself rather than handing it to a bitmap
// static: a static copies a bitmap with alpha each time it is given one, and
// it shrinks to the bitmap so that its border would eat into the picture.
// A hidden image control is never drawn and only holds its picture, so it has
// no window: one would cost its making at start and its destruction at exit.
// The class stays registered for the process once a form has registered it.
void Image::create(HWND parent, int id, const RECT& place) {
  setPicture(Picture::fromResource(row_.picture));
  if (!row_.visible) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kImageClass;
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    refuse(L"Tovix could not register its window class.");
  createWindow(kImageClass, 0, parent, id, place);
}

// At its row's place, its size that of its pictures (all of Tovix's are the
// size its row gives at 96 DPI, less the border) at the form's DPI: known
// without decoding, so the first paint moves nothing.
RECT Image::place() const {
  const int border = borderWidth(row_);
  const RECT atRow = Control::place();
  const auto scaled = [&](Twips length) {
    return MulDiv(twipsToPixels(length, kUnscaledDpi) - 2 * border, form_.dotsPerInch(), kUnscaledDpi) + 2 * border;
  };
  return {atRow.left, atRow.top, atRow.left + scaled(row_.width), atRow.top + scaled(row_.height)};
}

void Image::setPicture(std::shared_ptr<const Picture> picture) {
  if (picture == picture_) return;  // already showing it: nothing to repaint
  picture_ = std::move(picture);
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, FALSE);
}

// Sizes the control to its picture and border, once the picture is decoded
// for painting; pictures of the size it already has (all of Tovix's are)
// leave the window alone.
void Image::fitToPicture() {
  const int dpi = form_.dotsPerInch();
  if (picture_->bitmap(dpi) == nullptr) return;
  const int border = borderWidth(row_);
  const SIZE picture = picture_->size(dpi);
  RECT client{};
  if (GetClientRect(hwnd(), &client) && picture.cx + 2 * border == client.right &&
      picture.cy + 2 * border == client.bottom)
    return;
  SetWindowPos(hwnd(), nullptr, 0, 0, picture.cx + 2 * border, picture.cy + 2 * border,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// What Windows will not draw stays undrawn: a picture that cannot be had, or
// put into a memory device context for copying, leaves the face colour.
void Image::paint(HDC dc) const {
  RECT client{};
  if (!GetClientRect(hwnd(), &client)) return;
  const int border = borderWidth(row_);
  // The border in the colour of window frames in the user's scheme: white in
  // High Contrast Black, where a black one would vanish into the face.
  if (border != 0) FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
  const int dpi = form_.dotsPerInch();
  HBITMAP bitmap = picture_->bitmap(dpi);
  HDC source = bitmap != nullptr ? CreateCompatibleDC(dc) : nullptr;
  HGDIOBJ previous = source != nullptr ? SelectObject(source, bitmap) : nullptr;
  if (previous != nullptr) {
    const SIZE size = picture_->size(dpi);
    BitBlt(dc, border, border, size.cx, size.cy, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
  } else {
    InflateRect(&client, -border, -border);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
  if (source != nullptr) DeleteDC(source);
}

LRESULT CALLBACK Image::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* image = reinterpret_cast<Image*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case STM_GETIMAGE:
      // Which bitmap the control shows, asked as of a picture static.
      return image != nullptr ? reinterpret_cast<LRESULT>(image->picture_->bitmap(image->form_.dotsPerInch())) : 0;
    case WM_ERASEBKGND:
      return 1;  // the border and the picture cover the whole control
    case WM_PAINT: {
      if (image != nullptr) image->fitToPicture();
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      if (image != nullptr && dc != nullptr) image->paint(dc);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}
