#pragma once

#include <QString>

// What a forwarding action reads from the Remote Setup dialog when a call
// arrives. The dialog's fields are the current profile, so each value is read
// at the moment the action needs it, not copied beforehand.
class TRemoteProfileFields {
 public:
  virtual ~TRemoteProfileFields() = default;

  virtual bool DdeLinkSelected() const = 0;   // "DDE Link" button selected
  virtual QString Application() const = 0;    // application box text (service)
  virtual QString Topic() const = 0;
  virtual bool StartExe() const = 0;          // "Start if not yet running"
  virtual QString ExePath() const = 0;
  virtual QString DBPath() const = 0;
  virtual QString PokeData() const = 0;
  virtual QString PokeLocation() const = 0;   // "to location"
  virtual int CommandLineCount() const = 0;   // lines of the Command(s) memo
  virtual QString CommandLine(int index) const = 0;
  virtual QString CommandsText() const = 0;   // the memo's whole text, lines joined by CR LF
};
