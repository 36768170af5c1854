// What the skinned dialogs share: their frame colour and pen, the face of
// their fonts, and the white page with its frame.
#pragma once
#include <windows.h>

#include "ui/gdi.h"

namespace skin {

constexpr COLORREF kFrameColour = RGB(0, 65, 128);
constexpr int kFrameWidth = 2;  // at 96 DPI
constexpr const wchar_t* kFontFace = L"方正兰亭黑_GBK";

// The frame's pen for a window at `dpi`.
ui::Pen CreateFramePen(int dpi);

// Fills the client area white and frames it in the frame colour.
void PaintFramedPage(HDC dc, const RECT& client, int dpi);

}  // namespace skin
