#pragma once

#include <functional>

// Runs the event loop until `condition` holds or `timeoutMs` passed;
// returns whether it holds. The bound is a safety net, not a measurement:
// give it a wide margin.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 30000);
