#pragma once
// Port output through Out32 of the port library inpout32.dll, loaded at run time.
#include <string>

#include "platform/port_io.h"

namespace lorvan::win32 {

class Win32PortIo : public platform::PortIo {
 public:
  ~Win32PortIo() override;
  // Loads the library (the program folder is searched first) and finds Out32; on failure
  // returns false and error() says what is missing and what to do.
  bool Load();
  const std::string& error() const { return error_; }
  void Out32(int16_t port, int16_t value) override;

 private:
  using Out32Fn = void(__stdcall*)(short, short);
  void* library_ = nullptr;
  Out32Fn out32_ = nullptr;
  std::string error_;
};

}  // namespace lorvan::win32
