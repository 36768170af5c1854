#include "discovery/port_list.h"

#include <vector>

#include "discovery/usb_printer.h"
#include "platform/error.h"
#include "platform/spooler.h"
#include "platform/window.h"

namespace {

constexpr wchar_t kNoticeCaption[] = L"安装提示";

PortListRows Failed(plat::Handle wizard, const wchar_t* text) {
  plat::MessageBoxW(wizard, text, kNoticeCaption, plat::kMbIconInformation);
  return {{}, -1, false};
}

std::wstring UsbPortName(uint32_t number) {
  std::wstring digits = std::to_wstring(number);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), L'0');
  return L"USB" + digits;
}

int FirstRowContaining(const std::vector<std::wstring>& rows, const std::wstring& target) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].find(target) != std::wstring::npos) return static_cast<int>(i);
  return -1;
}

}  // namespace

PortListRows FillPortList(plat::Handle wizard) {
  uint32_t needed = 0, count = 0;
  if (plat::EnumPortsW(nullptr, 0, needed, count) || plat::GetLastError() != plat::kErrorInsufficientBuffer)
    return Failed(wizard, L"无法查找当前设备端口列表!");
  std::vector<uint8_t> buffer(needed, 0);
  if (!plat::EnumPortsW(buffer.data(), needed, needed, count)) return Failed(wizard, L"枚举当前设备端口失败!");
  PortListRows page;
  const auto* records = reinterpret_cast<const plat::PortInfo1*>(buffer.data());
  for (uint32_t i = 0; i < count; ++i) page.rows.emplace_back(records[i].name ? records[i].name : L"");
  const uint32_t usbPort = FindUsbPrinterPortNumber(wizard);
  if (usbPort != 0) {
    page.selected = FirstRowContaining(page.rows, UsbPortName(usbPort));
  } else {
    page.selected = FirstRowContaining(page.rows, L"LPT");
    page.result = page.selected < 0;
  }
  return page;
}
