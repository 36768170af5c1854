#include "ui/skin_picture.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "ui/skin_drawings.h"

namespace {

// The bytes of resource (id, type) of the program; empty when missing.
std::string_view ResourceBytes(UINT id, const wchar_t* type) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const char*>(bytes), ::SizeofResource(module, found)};
}

}  // namespace

bool SkinBitmapSize(UINT id, UiSize& size) {
  std::string_view bytes = ResourceBytes(id, RT_BITMAP);
  if (bytes.size() < sizeof(BITMAPINFOHEADER)) return false;
  BITMAPINFOHEADER header{};
  std::copy_n(bytes.data(), sizeof header, reinterpret_cast<char*>(&header));
  size = {static_cast<int>(header.biWidth), static_cast<int>(header.biHeight < 0 ? -header.biHeight : header.biHeight)};
  return true;
}

const CImage* SkinDrawingCache::Get(UINT id, UiSize base, UiSize target) {
  std::erase_if(m_entries, [&target](const Entry& entry) { return !(entry.size == target); });
  for (const Entry& entry : m_entries)
    if (entry.id == id) return entry.image.IsNull() ? nullptr : &entry.image;
  Entry& entry = m_entries.emplace_back();
  entry.id = id;
  entry.size = target;
  const int dpi = ChooseSkinDrawing(base, target);
  // A failed drawing is kept empty too, so that it is not tried on every paint.
  if (dpi != kBaseDpi) {
    std::string_view bytes = ResourceBytes(id, SkinDrawingType(dpi).c_str());
    if (!bytes.empty()) entry.image.LoadScaled(bytes, target.width, target.height);
  }
  return entry.image.IsNull() ? nullptr : &entry.image;
}
