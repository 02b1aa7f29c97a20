// lumjpeg.dll: the driver entry the platform's video codec service looks up
// by name.
#include "driver_proc.h"

extern "C" LRESULT CALLBACK DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM lParam1,
                                       LPARAM lParam2) {
  return lumjpeg::DriverProc(id, driver, message, lParam1, lParam2);
}
