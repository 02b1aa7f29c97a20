// The program's entry: the application object does the rest.
#include <windows.h>

#include "app/lumora_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // Modules are never looked up in the current directory: ours are loaded by
  // full path from the program folder, the platform's by name.
  ::SetDllDirectoryW(L"");
  return theApp.Main(instance, showCommand);
}
