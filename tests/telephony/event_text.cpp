#include "event_text.h"

QStringList EventTexts(const std::vector<TCallEvent>& events) {
  QStringList texts;
  for (const TCallEvent& e : events) {
    if (e.kind == TCallEvent::Kind::kCallerId) {
      texts << QString("id %1|%2|%3").arg(e.number, e.name).arg(e.flags);
    } else if (e.state == "IDLE") {
      const char* outcome[] = {"unknown", "answered", "missed"};
      texts << "state IDLE " + QString(outcome[static_cast<int>(e.outcome)]);
    } else {
      texts << "state " + e.state;
    }
  }
  return texts;
}
