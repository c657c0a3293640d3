#include "ui_language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {
namespace {

QString& InstalledLanguage() {
  static QString language;
  return language;
}

bool IsEnglish(const QLocale& locale) {
  return locale.language() == QLocale::English || locale.language() == QLocale::C;
}

}  // namespace

TUiLanguage::TUiLanguage(const QLocale& locale, const QString& programFolder) {
  const QString folder = QDir(programFolder).filePath(QString::fromLatin1(kTranslationsFolder));
  for (const QString& name : locale.uiLanguages()) {
    const QLocale wanted(name);
    if (IsEnglish(wanted)) break;  // the program's own language
    auto program = std::make_unique<QTranslator>();
    if (!program->load(wanted, QString::fromLatin1(kProgramCatalogue), QStringLiteral("_"), folder))
      continue;
    // Qt's texts in the same language; without them the program's catalogue
    // still holds the captions and file errors.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(wanted, QString::fromLatin1(kQtCatalogue), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(qt.get());
      qt_ = std::move(qt);
    }
    QCoreApplication::installTranslator(program.get());
    program_ = std::move(program);
    language_ = QLocale(program_->language()).name().section(QLatin1Char('_'), 0, 0);
    InstalledLanguage() = language_;
    return;
  }
}

TUiLanguage::~TUiLanguage() {
  if (program_) {
    QCoreApplication::removeTranslator(program_.get());
    InstalledLanguage().clear();
  }
  if (qt_) QCoreApplication::removeTranslator(qt_.get());
}

QString CurrentUiLanguage() { return InstalledLanguage(); }

}  // namespace platform
