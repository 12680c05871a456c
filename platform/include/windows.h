// The Windows declarations the program and the stand-in use.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <guiddef.h>
#include <unknwn.h>
#include <winuser.h>
