#include "editor/menus.h"

#include <initializer_list>

#include "res/resource.h"

HMENU LoadStandardMenu(HINSTANCE resources) {
  HMENU menu = ::LoadMenuW(resources, MAKEINTRESOURCEW(IDR_MENU_MAIN));
  if (!menu) return nullptr;
  for (int position : {5, 4, 3, 2, 1}) ::DeleteMenu(menu, position, MF_BYPOSITION);
  HMENU file = ::GetSubMenu(menu, 0);
  for (int i = 0; i < 3; ++i) ::DeleteMenu(file, 0, MF_BYPOSITION);
  return menu;
}

HMENU LoadEditingMenu(HINSTANCE resources) {
  HMENU menu = ::LoadMenuW(resources, MAKEINTRESOURCEW(IDR_MENU_MAIN));
  if (!menu) return nullptr;
  for (int position : {1, 3}) ::DeleteMenu(menu, position, MF_BYPOSITION);
  return menu;
}

HMENU LoadVideoMenu(HINSTANCE resources) {
  HMENU menu = ::LoadMenuW(resources, MAKEINTRESOURCEW(IDR_MENU_MAIN));
  if (!menu) return nullptr;
  for (int position : {4, 3, 2, 1}) ::DeleteMenu(menu, position, MF_BYPOSITION);
  ::DeleteMenu(::GetSubMenu(menu, 0), 1, MF_BYPOSITION);
  HMENU view = ::GetSubMenu(menu, 1);
  for (int position = 10; position >= 1; --position) ::DeleteMenu(view, position, MF_BYPOSITION);
  return menu;
}
