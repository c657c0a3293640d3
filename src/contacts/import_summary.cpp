#include "contacts/import_summary.h"

#include "contacts/contacts_texts.h"

namespace contacts {
namespace {

void List(QStringList& lines, const QStringList& items, int maxListed) {
  const qsizetype shown = maxListed < 0 ? items.size() : std::min<qsizetype>(items.size(), maxListed);
  for (qsizetype i = 0; i < shown; ++i) lines << QStringLiteral("  ") + items[i];
  if (shown < items.size())
    lines << QStringLiteral("  ") + Tr(kSummaryMore).arg(items.size() - shown);
}

}  // namespace

QString TImportSummary::Text(int maxListed) const {
  QStringList lines;
  if (CardsRead == 0 && StopMessage.isEmpty()) lines << Tr(kNoContactsInFile);
  lines << Tr(kSummaryAdded).arg(Added);
  lines << Tr(kSummaryReplaced).arg(Replaced);
  lines << Tr(kSummarySkipped).arg(Skipped.size());
  List(lines, Skipped, maxListed);
  if (!Notes.isEmpty()) {
    lines << Tr(kSummaryNotes);
    List(lines, Notes, maxListed);
  }
  if (!StopMessage.isEmpty()) {
    lines << StopMessage;
    if (LeftOut > 0)
      lines << (LeftOut == 1 ? Tr(kOneContactLeftOut)
                             : Tr(kContactsLeftOut).arg(LeftOut));
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace contacts
