#pragma once
// The camera driver's "StatusReport" mark: bit 0x100 is set while the program
// runs. The key is the driver registry path that FindCamera read; while it is
// unknown both calls do nothing, and no failure is reported.
#include <string>

namespace app {

// Sets the mark; gives the key it marked (empty when none), which the exit
// hands back to ClearDriverMark: the camera search forgets the path while
// the camera is away, and the key marked at start must still be unmarked.
std::string MarkDriverInUse();
// Masks "StatusReport" of `markedKey`; of the key known now when start-up
// marked none.
void ClearDriverMark(const std::string& markedKey);

}  // namespace app
