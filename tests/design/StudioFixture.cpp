#include "tests/design/StudioFixture.h"

#include "host/Forms.h"
#include "ide/DesignCore.h"
#include "runtime/RuntimeClasses.h"

namespace testing_support {

TStudioFixture::TStudioFixture(const std::vector<std::string>& formTexts,
                               const std::vector<std::pair<std::string, std::string>>& files,
                               const TOpenSession& open)
    : FOldDir(std::filesystem::current_path()) {
  mebrox::RegisterRuntimeClasses();
  mebrox::RegisterStudioPalette(FCore);
  WriteFormsProject(FDir.Path(), formTexts);
  for (const auto& [name, bytes] : files) WriteFile(File(name), bytes);
  std::filesystem::current_path(FDir.Path());
  mebrox::THeadlessOptions options;
  options.StartDir = FDir.Path();
  FRun = std::make_unique<mebrox::TStudioRun>(FTrace, options);
  auto& dialogs = dynamic_cast<host::TScriptedDialogs&>(host::DialogService());
  dialogs.OnFile = [this, traced = dialogs.OnFile](const host::TFileDialogRequest& request,
                                                   const std::vector<std::string>& answer) {
    FFileRequests.push_back(request);
    if (traced) traced(request, answer);
  };
  FSession = open ? open(FCore, File("Test.dpr"))
                  : std::make_unique<ide::TDesignSession>(FCore, File("Test.dpr"));
  FCore.SetToolServices(FSession.get());
  FRun->SetSession(FSession.get());
  FRun->ShowForms();
  FTrace.str("");
}

TStudioFixture::~TStudioFixture() {
  FRun.reset();
  FSession.reset();
  std::filesystem::current_path(FOldDir);
}

std::string TStudioFixture::Run(const std::string& script) {
  FTrace.str("");
  FRun->Execute(mebrox::ParseScript(script, "test.txt", mebrox::TScriptDialect::Studio),
                "test.txt");
  return FTrace.str();
}

void TStudioFixture::AfterEachLine(std::function<void(int line)> look) {
  if (!look) {
    FRun->AfterCommand = nullptr;
    return;
  }
  FRun->AfterCommand = [look = std::move(look)](const mebrox::TScriptCommand& c) { look(c.Line); };
}

host::TForm& TStudioFixture::Form(const std::string& name) {
  host::TForm* form = FSession->FindForm(name);
  if (!form) throw std::runtime_error("no form " + name);
  return *form;
}

host::TComponent& TStudioFixture::Component(const std::string& form, const std::string& name) {
  host::TComponent* c = Form(form).FindComponent(name);
  if (!c) throw std::runtime_error("no component " + name);
  return *c;
}

}  // namespace testing_support
