#include <windows.h>
#include <cfgmgr32.h>

#include "platform/cfgmgr.h"

namespace plat {

uint32_t CM_Get_Device_ID_Size(uint32_t& length, uint32_t devInst, uint32_t flags) {
  ULONG n = 0;
  CONFIGRET cr = ::CM_Get_Device_ID_Size(&n, devInst, flags);
  length = n;
  return cr;
}

uint32_t CM_Get_Device_IDW(uint32_t devInst, wchar_t* buffer, uint32_t length, uint32_t flags) {
  return ::CM_Get_Device_IDW(devInst, buffer, length, flags);
}

uint32_t CM_Locate_DevNodeW(uint32_t& devInst, const std::wstring& instanceId, uint32_t flags) {
  DEVINST node = 0;
  CONFIGRET cr = ::CM_Locate_DevNodeW(&node, const_cast<wchar_t*>(instanceId.c_str()), flags);
  devInst = node;
  return cr;
}

uint32_t CM_Reenumerate_DevNode(uint32_t devInst, uint32_t flags) { return ::CM_Reenumerate_DevNode(devInst, flags); }

uint32_t CM_Get_Child(uint32_t& child, uint32_t devInst, uint32_t flags) {
  DEVINST node = 0;
  CONFIGRET cr = ::CM_Get_Child(&node, devInst, flags);
  child = node;
  return cr;
}

uint32_t CM_Get_Sibling(uint32_t& sibling, uint32_t devInst, uint32_t flags) {
  DEVINST node = 0;
  CONFIGRET cr = ::CM_Get_Sibling(&node, devInst, flags);
  sibling = node;
  return cr;
}

}  // namespace plat
