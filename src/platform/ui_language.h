#pragma once

#include <QLocale>
#include <QString>
#include <memory>

class QTranslator;

// One language at a time. The program's own texts are English; a catalogue
// beside the program ("translations/quorvel_<language>.qm") translates them,
// and Qt's own catalogue of the same language translates the framework's
// texts (standard buttons). Where the program has no catalogue for the
// desktop's language everything stays English, so a window never mixes two
// languages.
namespace platform {

inline constexpr char kTranslationsFolder[] = "translations";
inline constexpr char kProgramCatalogue[] = "quorvel";
inline constexpr char kQtCatalogue[] = "qtbase";

// Installs the catalogues for the first of `locale`'s languages that the
// program has a catalogue for in `programFolder`/translations, unless
// English (or the C locale) comes first. Removes them when it goes.
// QLocale::system() is the desktop's choice: its languages are LANGUAGE (a
// list separated by ":"), else the first of LC_ALL, LC_MESSAGES and LANG.
class TUiLanguage {
 public:
  TUiLanguage(const QLocale& locale, const QString& programFolder);
  ~TUiLanguage();
  TUiLanguage(const TUiLanguage&) = delete;
  TUiLanguage& operator=(const TUiLanguage&) = delete;

  // The language of the installed catalogue ("de"), or "" for English.
  QString Language() const { return language_; }

 private:
  std::unique_ptr<QTranslator> program_;
  std::unique_ptr<QTranslator> qt_;
  QString language_;
};

// The language the program shows its texts in now ("" for English).
QString CurrentUiLanguage();

}  // namespace platform
