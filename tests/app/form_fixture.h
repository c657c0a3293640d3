#pragma once

#include <QString>
#include <QStringList>
#include <ostream>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

#include "fake_modem.h"
#include "form_parts.h"
#include "temp_dir.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// A main window whose program folder, settings and lines are the test's own:
// the lines are fakemodem processes offered through the "ExtraLines" setting.
class FormTest : public ::testing::Test {
 protected:
  FormTest();

  // Starts a modem linked as <temp>/<name>; returns its link path.
  QString AddModem(const QString& name, const QStringList& options = {});
  // Offers the given link paths as the lines, in this order.
  void OfferLines(const QStringList& links);
  void Store(const QString& name, const QString& value);
  QString Stored(const QString& name) const;
  // Makes the window (not yet created) with the program in the temp folder.
  TQuorvelForm& MakeForm();
  // Offers one answering modem (modem_), stores `mode` when given, and makes
  // and creates the window.
  TQuorvelForm& CreateOnOneModem(const char* mode = nullptr);
  // The line entries of "Select modem" (those before its separator).
  QList<QAction*> LineItems() const;
  // The check marks of the lines in "Select modem", in menu order.
  std::vector<bool> Checks() const;
  QStringList MenuLines() const;
  QStringList ListedLines() const;
  // The window's parts (after MakeForm).
  FormParts Ui() const { return FormParts(*form_); }
  // The picture shown for callers without one of their own.
  void SaveDefaultPicture();
  // Stores callers (name, number) as the Record menu would, with the
  // default picture in the program folder.
  void SaveCallers(TQuorvelForm& form, const std::vector<std::pair<QString, QString>>& callers);

  TempConfigHome config_;
  QTemporaryDir appDir_;
  std::vector<std::unique_ptr<FakeModem>> modems_;
  std::unique_ptr<TQuorvelForm> form_;
  QString modem_;
};
