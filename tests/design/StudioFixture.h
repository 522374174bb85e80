#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "apps/studio/StudioRun.h"
#include "host/Dialogs.h"
#include "ide/DesignSession.h"
#include "tests/TestSupport.h"

namespace testing_support {

// A small project on disk, opened for design with the studio's script driver over it, so that
// tests work the kit's editors and dialogs through their controls as a designer would:
//
//   TStudioFixture studio({"object Form1: TForm1\n  object HyperTxt1: THyperTxt\n  end\nend\n"});
//   std::string trace = studio.Run("edit Form1.HyperTxt1 Words\nclick WordSelectDlg.OKBtn 5 5\n");
//
// Form texts become Unit1.dfm, Unit2.dfm ... of project Test.dpr, each with a unit source; the
// project folder is the current directory while the fixture lives. Run returns the trace of its
// script and throws the script's EParserError.
class TStudioFixture {
 public:
  // How the project is opened for design; a plain session when none is given.
  using TOpenSession = std::function<std::unique_ptr<ide::TDesignSession>(
      ide::TDesignCore& core, const std::string& project)>;
  explicit TStudioFixture(const std::vector<std::string>& formTexts,
                          const std::vector<std::pair<std::string, std::string>>& files = {},
                          const TOpenSession& open = nullptr);
  ~TStudioFixture();
  TStudioFixture(const TStudioFixture&) = delete;
  TStudioFixture& operator=(const TStudioFixture&) = delete;

  std::string Run(const std::string& script);
  // Called after each line of a script, while its dialogs are still open.
  void AfterEachLine(std::function<void(int line)> look);
  ide::TDesignSession& Session() { return *FSession; }
  // The fixture's own IDE, with the studio's palette registered.
  ide::TDesignCore& Core() { return FCore; }
  host::TForm& Form(const std::string& name);
  host::TComponent& Component(const std::string& form, const std::string& name);
  // Every file dialog's request, kept before the run traces it.
  std::vector<host::TFileDialogRequest>& FileRequests() { return FFileRequests; }
  const std::string& Folder() const { return FDir.Path(); }
  std::string File(const std::string& name) const { return FDir.File(name); }

 private:
  ide::TDesignCore FCore;
  TempDir FDir;
  std::filesystem::path FOldDir;
  std::ostringstream FTrace;
  std::unique_ptr<mebrox::TStudioRun> FRun;
  std::unique_ptr<ide::TDesignSession> FSession;
  std::vector<host::TFileDialogRequest> FFileRequests;
};

}  // namespace testing_support
