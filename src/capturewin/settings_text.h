#pragma once
// Small pieces the capture settings dialogs share: their fields as 8-bit
// settings text and the refusal of a countdown over a minute.
#include <windows.h>

#include <string>

namespace capturewin {

// A field's text in the system code page, as the settings file keeps it.
std::string FieldText(HWND dialog, int id);
void SetFieldText(HWND dialog, int id, const std::string& text);

// False after telling the user, when the delay field asks for more than a
// minute ("Delay time should be less than 60 seconds!").
bool AcceptDelay(HWND dialog, const std::string& delay);

}  // namespace capturewin
