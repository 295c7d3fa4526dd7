// Another program that changes a mouse setting as Windows' own mouse settings do: stored,
// put in force and announced to every window.
//
//   outside_change speed N    the pointer speed (1 to 20)
//   outside_change lines      exits with the wheel's scroll lines in force, as a program
//                             started now reads them (a process that read them once
//                             keeps that answer under Wine)
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "lines") == 0) {
    UINT lines = 0;
    return SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) ? static_cast<int>(lines)
                                                                        : -1;
  }
  if (argc != 3 || std::strcmp(argv[1], "speed") != 0) return 2;
  const int speed = std::atoi(argv[2]);
  // Windows takes the speed from pvParam, Wine from uiParam: both carry it.
  return SystemParametersInfoA(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                               reinterpret_cast<void*>(static_cast<INT_PTR>(speed)),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
             ? 0
             : 1;
}
