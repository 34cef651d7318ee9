// Shell shortcut targets through the shell's link object (IShellLinkA, loaded
// with IPersistFile). COM is initialised around each resolution only; the
// window thread needs it for nothing else.
#include <objbase.h>
#include <objidl.h>
#include <shlguid.h>
#include <shlobj.h>
#include <windows.h>

#include <cstring>

#include "platform/shell_link.h"

namespace orva::platform {

namespace {

bool loadLinkTarget(IShellLinkA* link, const char* path, char* target) {
  IPersistFile* file = nullptr;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) return false;
  WCHAR widePath[MAX_PATH];
  bool ok = MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) > 0 &&
            SUCCEEDED(file->Load(widePath, STGM_READ)) &&
            SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_UNCPRIORITY));
  file->Release();
  return ok;
}

}  // namespace

bool readShellLinkTarget(const char* path, char* out, size_t size) {
  if (path == nullptr || out == nullptr || size == 0) return false;
  HRESULT init = CoInitialize(nullptr);
  char target[MAX_PATH] = {};
  IShellLinkA* link = nullptr;
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link)));
  if (ok) {
    ok = loadLinkTarget(link, path, target);
    link->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  size_t length = std::strlen(target);
  if (!ok || length == 0 || length >= size) return false;
  std::memcpy(out, target, length + 1);
  return true;
}

bool writeShellLink(const char* path, const char* target) {
  if (path == nullptr || target == nullptr) return false;
  HRESULT init = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link)));
  if (ok) {
    IPersistFile* file = nullptr;
    WCHAR widePath[MAX_PATH];
    ok = SUCCEEDED(link->SetPath(target)) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
         MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) > 0 && SUCCEEDED(file->Save(widePath, TRUE));
    if (file != nullptr) file->Release();
    link->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return ok;
}

}  // namespace orva::platform
