#pragma once

#include <memory>

class TQuorvelForm;
class TRemoteAction;
class TRemoteProfileFields;

// Hands every call the call handling forwards in Passive mode to the
// forwarding action of the current profile (the Remote Setup dialog's
// fields), talking through the main window's DDEClient. Lives no longer than
// the form and the profile; the hand-off is removed when it ends.
class TRemoteActionLink {
 public:
  TRemoteActionLink(TQuorvelForm& form, const TRemoteProfileFields& profile);
  ~TRemoteActionLink();
  TRemoteActionLink(const TRemoteActionLink&) = delete;
  TRemoteActionLink& operator=(const TRemoteActionLink&) = delete;

 private:
  TQuorvelForm& form_;
  std::unique_ptr<TRemoteAction> action_;
};
