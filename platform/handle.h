#pragma once
#include <windows.h>

#include <utility>

// Owners of kernel and registry handles: each closes what it holds exactly once.

// A kernel handle; null and INVALID_HANDLE_VALUE both mean "none".
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
  HANDLE Release() { return std::exchange(handle_, nullptr); }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// An open registry key.
class RegKey {
 public:
  RegKey() = default;
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }

  // Opens root\path with the given rights; false when it cannot be opened.
  bool Open(HKEY root, const wchar_t* path, REGSAM rights) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, rights, &key) != ERROR_SUCCESS) return false;
    if (key_) RegCloseKey(key_);
    key_ = key;
    return true;
  }
  // Opens or makes root\path with the given rights; false when it cannot.
  bool Create(HKEY root, const wchar_t* path, REGSAM rights) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, rights, nullptr, &key, nullptr) != ERROR_SUCCESS) return false;
    if (key_) RegCloseKey(key_);
    key_ = key;
    return true;
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// A module loaded with LoadLibraryW.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const wchar_t* name) : module_(LoadLibraryW(name)) {}
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  ~LoadedLibrary() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE Get() const { return module_; }
  // The export as a function pointer of type F, or null.
  template <typename F>
  F Find(const char* name) const {
    return module_ ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
  }

 private:
  HMODULE module_;
};
