// Program entry of tivoler.exe.
#include <string>
#include <vector>

#include "forms/win32/win32_backend.h"
#include "platform/win32/win32_os.h"
#include "shell/process_entry.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto os = tivoler::CreateWin32OsPort();
  auto backend = tivoler::CreateWin32Backend();
  return tivoler::RunTivoler(*os, backend.get(), args);
}
