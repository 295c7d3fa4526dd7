// Functions of system DLLs that the program needs only for some commands, loaded on
// first use instead of at every start. Under Wine in particular, each DLL in the
// import table costs the start its whole initialisation.
#pragma once

#include <windows.h>

namespace tivoler {

// Loads a DLL from the system folder (never from the program's folder) and keeps it
// loaded: the load is counted, so its functions stay valid whoever else frees it.
inline HMODULE LoadSystemDll(const char* dll) {
  char path[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + static_cast<UINT>(lstrlenA(dll)) >= MAX_PATH) return nullptr;
  lstrcatA(path, "\\");
  lstrcatA(path, dll);
  return ::LoadLibraryA(path);
}

// A function of a system DLL (see LoadSystemDll), or nullptr.
template <typename Function>
Function SystemFunction(const char* dll, const char* name) {
  HMODULE module = LoadSystemDll(dll);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace tivoler
