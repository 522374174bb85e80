#pragma once

#include <ostream>

#include "apps/headless/HeadlessRun.h"
#include "ide/DesignSession.h"

namespace mebrox {

// The palette of the studio: the kit's page "Mebrox" (the package's registration) and a
// "Standard" page with the host framework's controls a frame needs; into core.
void RegisterStudioPalette(ide::TDesignCore& core);

// The design session driven from a script: a headless run whose modal dialogs stay open for the
// lines that work them, and which takes the designer's lines (StudioVerbs.cpp) on the session's
// forms.
class TStudioRun : public THeadlessRun {
 public:
  TStudioRun(std::ostream& trace, THeadlessOptions options);

  // The project the design verbs work on; the run does not own it.
  void SetSession(ide::TDesignSession* session) { FSession = session; }
  // Shows every form of the project, as the studio opens them.
  void ShowForms();

  // What the design verbs' handlers work with; each fails at the command's line when the
  // project has no such thing.
  ide::TDesignSession& Session(const TScriptCommand& command) const;
  host::TForm& DesignForm(const TScriptCommand& command) const;
  host::TComponent& DesignComponent(const TScriptCommand& command) const;
  // Form-file text, shared by every form as the system's clipboard would be.
  std::string& Clipboard() { return FClipboard; }

 protected:
  void ExecuteOne(const TScriptCommand& command) override;

 private:
  void KeepRecovery();

  ide::TDesignSession* FSession = nullptr;
  std::string FClipboard;
};

}  // namespace mebrox
