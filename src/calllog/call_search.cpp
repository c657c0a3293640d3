#include "calllog/call_search.h"

#include "calllog/logged_call.h"

namespace {

bool IsNumberPunctuation(QChar c) {
  return c.isSpace() || c == u'-' || c == u'(' || c == u')' || c == u'.' || c == u'/' ||
         c == u'+';
}

QString DigitsOf(const QString& text) {
  QString digits;
  for (const QChar c : text) {
    if (c.isDigit()) digits += c;
  }
  return digits;
}

}  // namespace

QString FoldForSearch(const QString& text) {
  const QString decomposed = text.normalized(QString::NormalizationForm_KD);
  QString folded;
  folded.reserve(decomposed.size());
  for (const QChar c : decomposed) {
    if (c.category() != QChar::Mark_NonSpacing) folded += c;
  }
  return folded.toCaseFolded();
}

QString SearchTextOf(const TLoggedCall& call) {
  const QString number = call.numberReceived.isEmpty() ? call.numberDisplayed : call.numberReceived;
  return FoldForSearch(call.matchedName) + u'\n' + FoldForSearch(call.networkName) + u'\n' +
         FoldForSearch(call.numberDisplayed) + u'\n' + FoldForSearch(call.numberReceived) + u'\n' +
         DigitsOf(number);
}

QString SearchNeedle(const QString& typed) {
  const QString text = typed.trimmed();
  bool hasDigit = false;
  bool numberLike = true;
  for (const QChar c : text) {
    if (c.isDigit()) hasDigit = true;
    else if (!IsNumberPunctuation(c)) numberLike = false;
  }
  if (hasDigit && numberLike) return DigitsOf(text);
  return FoldForSearch(text);
}
