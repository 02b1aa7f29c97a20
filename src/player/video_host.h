#pragma once
// What the video display asks of the main window that holds it.
#include <string>

class VideoHost {
 public:
  // Leaves the video mode for the image editor with the picture `path`;
  // the video display is destroyed during the call.
  virtual void EnterEditModeFromVideo(std::wstring path) = 0;

 protected:
  ~VideoHost() = default;
};
