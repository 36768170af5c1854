// Opaque operating-system handles and an owning wrapper that closes them.
#pragma once
#include <cstdint>
#include <utility>

namespace plat {

using Handle = void*;
inline Handle const kInvalidHandle = reinterpret_cast<Handle>(static_cast<intptr_t>(-1));

inline bool IsValid(Handle h) { return h != nullptr && h != kInvalidHandle; }

// Owns one handle; Close is a callable that releases it (CloseHandle, FindClose, ...).
template <typename Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }

  Handle get() const { return h_; }
  bool valid() const { return IsValid(h_); }
  explicit operator bool() const { return valid(); }
  void reset() {
    if (valid()) Close{}(h_);
    h_ = nullptr;
  }

 private:
  Handle h_ = nullptr;
};

}  // namespace plat
