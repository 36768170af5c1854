#include "platform/win32/security_attributes.h"

#include <sddl.h>

namespace plat {

SecurityAttributes::SecurityAttributes(const wchar_t* sddl) {
  ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &m_attributes.lpSecurityDescriptor,
                                                         nullptr);
}

SecurityAttributes::~SecurityAttributes() {
  if (m_attributes.lpSecurityDescriptor) ::LocalFree(m_attributes.lpSecurityDescriptor);
}

}  // namespace plat
