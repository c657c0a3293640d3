// Starts as the program does, in the language its environment asks for, and
// prints that language ("" for English) and the framework's error caption.
#include <QCoreApplication>
#include <QLocale>
#include <cstdio>

#include "platform/framework_texts.h"
#include "platform/ui_language.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const platform::TUiLanguage language(QLocale::system(), QStringLiteral(QUORVEL_BIN_DIR));
  const QByteArray line = (language.Language() + QLatin1Char('|') +
                           platform::FrameworkText(platform::kErrorDialogCaption))
                              .toUtf8();
  std::printf("%s\n", line.constData());
  return 0;
}
