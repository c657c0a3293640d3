#pragma once

#include <QString>
#include <QStringList>

namespace contacts {

// What a contacts import did, for the dialog and the tool to show.
struct TImportSummary {
  int Added = 0;     // callers added
  int Replaced = 0;  // callers whose number (and picture) were replaced
  QStringList Skipped;  // "<name or card>: <reason>", in file order
  QStringList Notes;    // things done differently than asked (photos)
  int CardsRead = 0;
  QString StopMessage;  // why the import ended early; "" when it read the whole file
  int LeftOut = 0;      // contacts not imported because it ended early

  bool AnythingImported() const { return Added + Replaced > 0; }

  // The summary as lines of text. At most `maxListed` skipped cards and
  // notes are listed (all when negative), then how many more there were.
  QString Text(int maxListed = -1) const;
};

}  // namespace contacts
