// SECURITY_ATTRIBUTES from an SDDL string, for objects created with their
// security descriptor in the one call that creates them.
#pragma once
#include <windows.h>

namespace plat {

class SecurityAttributes {
 public:
  // get() is null, with the last error, when the string is no descriptor.
  explicit SecurityAttributes(const wchar_t* sddl);
  ~SecurityAttributes();
  SecurityAttributes(const SecurityAttributes&) = delete;
  SecurityAttributes& operator=(const SecurityAttributes&) = delete;
  SECURITY_ATTRIBUTES* get() { return m_attributes.lpSecurityDescriptor ? &m_attributes : nullptr; }

 private:
  SECURITY_ATTRIBUTES m_attributes{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace plat
