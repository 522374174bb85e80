#pragma once

#include "host/ExtCtrls.h"
#include "runtime/About.h"

namespace mebrox {

// A picture that shows up when a bookmark was recorded and, when clicked, offers to resume at
// the bookmarked frame.
class TBookMark : public host::TImage {
  HOST_PUBLISHED_CLASS
 public:
  explicit TBookMark(host::TComponent* owner);
  TAboutMebrox& About() { return FAbout; }

  // Shows the bookmark only while the run-state file records a mark.
  void Loaded() override;
  // Asks whether to continue, and on yes shows the marked frame; OnClick is not fired.
  void Click() override;
  // At run time a bookmark that shows is a keyboard stop; Enter or Space on it is a click.
  int KeyStopCount() const override { return IsDesigning() ? 0 : 1; }
  // A button named by its hint, else "Bookmark".
  host::TAccessibleInfo AccessibleInfo() const override;

 private:
  TAboutMebrox FAbout;
};

}  // namespace mebrox
