#include "hosts/win32/win32_port_io.h"

#include "hosts/win32/win32_api.h"

namespace lorvan::win32 {

Win32PortIo::~Win32PortIo() {
  if (library_) FreeLibrary(static_cast<HMODULE>(library_));
}

bool Win32PortIo::Load() {
  // The 64-bit build of the library is also shipped under the name inpoutx64.dll.
  const char* names[] = {"inpout32.dll", sizeof(void*) == 8 ? "inpoutx64.dll" : nullptr};
  DWORD first_error = 0;
  HMODULE lib = nullptr;
  for (const char* name : names) {
    if (!name) continue;
    lib = LoadLibraryA(name);
    if (lib) break;
    if (first_error == 0) first_error = GetLastError();
  }
  if (!lib) {
    error_ = "The port library inpout32.dll could not be loaded: " + ErrorText(first_error) +
             ".\r\nPut inpout32.dll (for this 64-bit program its 64-bit build) into the program folder " +
             ModuleFolder() + ". Without it the LCD on the parallel port cannot be driven.";
    return false;
  }
  auto fn = reinterpret_cast<Out32Fn>(reinterpret_cast<void*>(GetProcAddress(lib, "Out32")));
  if (!fn) {
    error_ = "The port library inpout32.dll that was loaded has no function Out32; it is not the "
             "port I/O library this program needs.";
    FreeLibrary(lib);
    return false;
  }
  library_ = lib;
  out32_ = fn;
  return true;
}

void Win32PortIo::Out32(int16_t port, int16_t value) {
  if (out32_) out32_(port, value);
}

}  // namespace lorvan::win32
