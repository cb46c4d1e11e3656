#include "hosts/win32/win32_app_info.h"

#include <vector>

#include "hosts/win32/win32_api.h"
#include "version.h"

namespace lorvan::win32 {
namespace {

// A string of the version resource's first language block; false when it has none.
bool QueryString(const std::vector<char>& block, const std::string& name, std::string& out) {
  struct Translation {
    WORD language, codepage;
  };
  Translation* tr = nullptr;
  UINT len = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&tr), &len) ||
      len < sizeof(Translation)) {
    return false;
  }
  char key[128];
  wsprintfA(key, "\\StringFileInfo\\%04x%04x\\%s", tr->language, tr->codepage, name.c_str());
  char* value = nullptr;
  if (!VerQueryValueA(block.data(), key, reinterpret_cast<void**>(&value), &len) || !value) return false;
  out.assign(value, len > 0 && value[len - 1] == '\0' ? len - 1 : len);
  while (!out.empty() && out.back() == '\0') out.pop_back();
  return true;
}

}  // namespace

std::string Win32AppInfo::AppPath() { return ModuleFolder(); }

platform::VersionInfo Win32AppInfo::Version() {
  platform::VersionInfo v;
  v.comments = kVersionComments;
  v.legal_notice = kLegalNotice;
  v.major = kVersionMajor;
  v.minor = kVersionMinor;
  v.revision = kVersionRevision;

  char exe[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return v;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe, &ignored);
  if (size == 0) return v;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(exe, 0, size, block.data())) return v;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &len) && fixed && len >= sizeof *fixed) {
    v.major = HIWORD(fixed->dwFileVersionMS);
    v.minor = LOWORD(fixed->dwFileVersionMS);
    v.revision = LOWORD(fixed->dwFileVersionLS);
  }
  QueryString(block, "Comments", v.comments);
  QueryString(block, "LegalCopyright", v.legal_notice);
  return v;
}

}  // namespace lorvan::win32
