#pragma once
// The camera driver's "StatusReport" mark: bit 0x100 is set while the program
// runs. The key is the driver registry path that FindCamera read; while it is
// unknown both calls do nothing, and no failure is reported.
namespace app {

void MarkDriverInUse();
void ClearDriverMark();

}  // namespace app
