#pragma once
// What the child frames (the capture window, the album window and the video
// mode's frame) ask of the window that holds them: to open a file of the
// album, to carry out the main window's own commands from the album toolbar,
// and to hear that one of them has closed. The main frame implements it, so
// the album code needs nothing of the main frame's class.
#include <windows.h>

#include <string>

enum class HostedWindow { kCapture, kAlbum, kVideo };

class AlbumHost {
 public:
  // A picture opens in the editing mode, a clip in the video mode. The path
  // is taken by value: opening may close the window that holds it.
  virtual void OpenAlbumFile(std::wstring path) = 0;
  // Help, print and e-mail of the album toolbar.
  virtual void RunMainCommand(UINT id) = 0;
  virtual void WindowClosed(HostedWindow which) = 0;
  // Writes the picture of `source` to `target` in the format its name asks
  // for (the user is told about failures); true when written.
  virtual bool SavePictureAs(const std::wstring& source, const std::wstring& target) = 0;

 protected:
  ~AlbumHost() = default;
};
