#pragma once
// The child frame of the standing windows. It tells the main frame and the
// rest of the program when its window goes.
#include "base/frame.h"

class CChildFrame : public base::CMDIChildWnd {
 protected:
  void PostNcDestroy() override;
};
