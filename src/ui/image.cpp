#include "ui/image.h"

#include <wincodec.h>

#include <cstdlib>

namespace {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (m_ptr) m_ptr->Release();
  }
  T** Out() { return &m_ptr; }
  T* operator->() const { return m_ptr; }
  T* Get() const { return m_ptr; }

 private:
  T* m_ptr = nullptr;
};

// COM for the decoding; balanced whatever the thread had before.
class ComScope {
 public:
  ComScope() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(m_result)) ::CoUninitialize();
  }

 private:
  HRESULT m_result;
};

}  // namespace

void PremultiplyAlpha(BYTE* pixels, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i, pixels += 4) {
    unsigned alpha = pixels[3];
    for (int c = 0; c < 3; ++c) pixels[c] = static_cast<BYTE>(pixels[c] * alpha / 255);
  }
}

bool CImage::Load(std::string_view bytes) { return Decode(bytes, nullptr); }

bool CImage::LoadScaled(std::string_view bytes, int width, int height) {
  const SIZE size{width, height};
  return Decode(bytes, &size);
}

bool CImage::Decode(std::string_view bytes, const SIZE* size) {
  Destroy();
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapScaler> scaler;
  ComPtr<IWICFormatConverter> converter;
  WICPixelFormatGUID format{};
  UINT width = 0, height = 0;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Out()))) ||
      FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetPixelFormat(&format)) ||
      FAILED(frame->GetSize(&width, &height)))
    return false;
  IWICBitmapSource* source = frame.Get();
  if (size && (static_cast<UINT>(size->cx) != width || static_cast<UINT>(size->cy) != height)) {
    width = static_cast<UINT>(size->cx);
    height = static_cast<UINT>(size->cy);
    if (FAILED(factory->CreateBitmapScaler(scaler.Out())) ||
        FAILED(scaler->Initialize(frame.Get(), width, height, WICBitmapInterpolationModeFant)))
      return false;
    source = scaler.Get();
  }
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  ComPtr<IWICComponentInfo> info;
  ComPtr<IWICPixelFormatInfo2> formatInfo;
  BOOL transparency = FALSE;
  if (SUCCEEDED(factory->CreateComponentInfo(format, info.Out())) &&
      SUCCEEDED(info->QueryInterface(IID_IWICPixelFormatInfo2, reinterpret_cast<void**>(formatInfo.Out()))))
    formatInfo->SupportsTransparency(&transparency);

  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = static_cast<LONG>(width);
  header.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC copies
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ui::Bitmap bitmap(::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
  UINT stride = width * 4;
  if (!bitmap || FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
    return false;
  m_hasAlpha = transparency;
  if (m_hasAlpha) PremultiplyAlpha(static_cast<BYTE*>(bits), static_cast<size_t>(width) * height);
  m_bitmap = std::move(bitmap);
  m_width = static_cast<int>(width);
  m_height = static_cast<int>(height);
  return true;
}

void CImage::Attach(HBITMAP bitmap) {
  Destroy();
  DIBSECTION section{};
  if (!bitmap) return;
  m_bitmap.Reset(bitmap);
  if (::GetObjectW(bitmap, sizeof section, &section) == sizeof section) {
    m_width = section.dsBm.bmWidth;
    m_height = std::abs(section.dsBm.bmHeight);
  } else {
    BITMAP plain{};
    ::GetObjectW(bitmap, sizeof plain, &plain);
    m_width = plain.bmWidth;
    m_height = plain.bmHeight;
  }
}

void CImage::Destroy() {
  m_bitmap.Reset();
  m_width = m_height = 0;
  m_hasAlpha = false;
}

void CImage::Draw(HDC dc, const RECT& to) const {
  if (!m_bitmap) return;
  ui::MemoryDC memory(dc);
  ui::SelectObjectScope selection(memory.Get(), m_bitmap.Get());
  int width = to.right - to.left, height = to.bottom - to.top;
  if (m_hasAlpha) {
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    // gdi32's own export: AlphaBlend would import MSIMG32, which is not a known DLL.
    ::GdiAlphaBlend(dc, to.left, to.top, width, height, memory.Get(), 0, 0, m_width, m_height, blend);
  } else {
    ::StretchBlt(dc, to.left, to.top, width, height, memory.Get(), 0, 0, m_width, m_height, SRCCOPY);
  }
}
