#pragma once

#include <ostream>

#include "apps/headless/HeadlessRun.h"
#include "ide/DesignSession.h"

namespace mebrox {

// The palette of the studio: the kit's page "Mebrox" (the package's registration) and a
// "Standard" page with the host framework's controls a frame needs.
void RegisterStudioPalette();

// The design session driven from a script: a headless run whose modal dialogs stay open for the
// lines that work them, with the designer's verbs (drop, edit, verb, dblclick, expert, set,
// save) on the session's forms.
class TStudioRun : public THeadlessRun {
 public:
  TStudioRun(std::ostream& trace, THeadlessOptions options);

  // The project the design verbs work on; the run does not own it.
  void SetSession(ide::TDesignSession* session) { FSession = session; }
  // Shows every form of the project, as the studio opens them.
  void ShowForms();

 protected:
  void ExecuteOne(const TScriptCommand& command) override;

 private:
  ide::TDesignSession& Session(const TScriptCommand& command) const;
  host::TForm& DesignForm(const TScriptCommand& command) const;
  host::TComponent& DesignComponent(const TScriptCommand& command) const;
  void Drop(const TScriptCommand& command);
  void Edit(const TScriptCommand& command);
  void Verb(const TScriptCommand& command);
  void DblClick(const TScriptCommand& command);
  void Expert(const TScriptCommand& command);
  void Set(const TScriptCommand& command);
  void Save(const TScriptCommand& command);
  void SaveAs(const TScriptCommand& command);
  void Designer(const TScriptCommand& command);
  void KeepRecovery();

  ide::TDesignSession* FSession = nullptr;
  std::string FClipboard;  // form-file text, shared by every form as the system's would be
};

}  // namespace mebrox
