#pragma once
// The main window's menus, all made from menu 182 by deleting entries by
// position.
#include <windows.h>

// The standard mode's menu: "&File" with "E&xit" only, and "&Help". The
// caller owns the menu (or gives it to a window).
HMENU LoadStandardMenu(HINSTANCE resources);

// The editing mode's menu: "&File", "&Edit" (Undo), "&Image", "&View" and
// "&Help".
HMENU LoadEditingMenu(HINSTANCE resources);

// The video mode's menu: "&File" with "&Open...", "Save &As..." and "E&xit",
// "&View" with "&Toolbar", and "&Help".
HMENU LoadVideoMenu(HINSTANCE resources);
