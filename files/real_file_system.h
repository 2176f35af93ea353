// The computer's own files, through the C runtime's 64-bit stream calls. On
// Windows names go through the wide calls, so any name opens, and long paths
// take the extended-length form.
#pragma once

#include "state/file_system.h"

namespace vop {

FileSystem& RealFileSystem();

}  // namespace vop
