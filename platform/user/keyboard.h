// The keyboard as the message queue sees it: which modifier keys are down
// (updated as key messages are taken from the queue, as the platform does)
// and the character a key press types.
#pragma once

#include <windows.h>

namespace qv::user {

// Follows a key message that was taken from the queue.
void TrackKey(const MSG& msg);

// The character the key types with the current Shift state on a US
// layout, or 0 when it types none. Ctrl and Caps Lock are not applied.
char CharacterFor(WPARAM key);

}  // namespace qv::user
