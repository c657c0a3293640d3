#pragma once

#include <string>

// The reason shown after "Can not start <program>" for the error number of a
// failed start; empty for numbers without a reason of their own. English;
// shown translated in the context "StartFailure".
std::string StartFailureReason(int errorNumber);
