#pragma once

#include <QStringList>
#include <vector>

#include "telephony/call_tracker.h"

// Call events as the tests write them: "state OFFERING",
// "id <number>|<name>|<flags>", "state IDLE <unknown|answered|missed>".
QStringList EventTexts(const std::vector<TCallEvent>& events);
