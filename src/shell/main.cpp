// Program entry of tivoler.exe.
#include <cstdlib>
#include <string>
#include <vector>

#include "forms/win32/win32_backend.h"
#include "platform/win32/win32_os.h"
#include "shell/process_entry.h"

// An error that nobody catches ends the program quietly: the standard library's
// own report would pull its whole symbol demangler into the executable.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto os = tivoler::CreateWin32OsPort();
  auto backend = tivoler::CreateWin32Backend();
  return tivoler::RunTivoler(*os, backend.get(), args);
}
