// The configuration manager (cfgmgr32): device nodes, their instance IDs,
// their children, and re-enumeration. Results are CONFIGRET codes.
#pragma once
#include <cstdint>
#include <string>

namespace plat {

constexpr uint32_t kCrSuccess = 0x0;
constexpr uint32_t kCrInvalidPointer = 0x3;
constexpr uint32_t kCrNoSuchDevnode = 0xD;
constexpr uint32_t kCrBufferSmall = 0x1A;

// CM_Get_Device_ID_Size: the length of the node's instance ID, without terminator.
uint32_t CM_Get_Device_ID_Size(uint32_t& length, uint32_t devInst, uint32_t flags);
// CM_Get_Device_IDW into `buffer` of `length` units; the terminator is written when it fits.
uint32_t CM_Get_Device_IDW(uint32_t devInst, wchar_t* buffer, uint32_t length, uint32_t flags);
// CM_Locate_DevNodeW of a present device by instance ID.
uint32_t CM_Locate_DevNodeW(uint32_t& devInst, const std::wstring& instanceId, uint32_t flags);
// CM_Reenumerate_DevNode: the node's bus looks for its devices again.
uint32_t CM_Reenumerate_DevNode(uint32_t devInst, uint32_t flags);
uint32_t CM_Get_Child(uint32_t& child, uint32_t devInst, uint32_t flags);
uint32_t CM_Get_Sibling(uint32_t& sibling, uint32_t devInst, uint32_t flags);

}  // namespace plat
