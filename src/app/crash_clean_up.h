#pragma once

namespace zendor {

// Makes whatever ends the program short of being killed outright (a fatal signal such as a
// crash or an abort, an exception nobody catches, a call to exit) still delete the temporary
// files of the run's open list. The handlers that were in place before (a sanitizer's, say) run
// afterwards as they would have. Called once by each program's entry point.
void InstallCrashCleanUp();

}  // namespace zendor
