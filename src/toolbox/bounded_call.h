// A call into code we don't own that may never return.
//
// Some device drivers stop their worker thread with an asynchronous cancel;
// caught inside the allocator, that thread never exits and the driver's stop
// call waits for it forever. `AppelBorne` runs such a call on a thread of its
// own and waits for it only so long: the program can then report the device
// as stuck instead of hanging.
#pragma once

#include <chrono>
#include <functional>

// True when `appel` returned within `delai`. Otherwise its thread is left
// behind, detached, to finish whenever it does (or never), so `appel` must own
// everything it uses: capture by value.
bool AppelBorne(std::function<void()> appel, std::chrono::milliseconds delai);
