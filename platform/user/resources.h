// Icons and cursors. Each handle stands for one resource and is the same on
// every load: a program icon is kIconBase + its resource id, the system's
// arrow cursor and application icon have fixed handles of their own.
#pragma once

#include <windows.h>

namespace qv::user {

// The program's icon resources (in its resource script).
constexpr WORD kProgramIcons[] = {107, 108};

HICON ProgramIcon(WORD resourceId);
HCURSOR SystemArrowCursor();
HICON SystemApplicationIcon();

}  // namespace qv::user
