#include "ide/NewProject.h"

#include <filesystem>

#include "host/FormFile.h"
#include "host/SysUtils.h"

namespace ide {

namespace fs = std::filesystem;

std::string UnitSourceText(const std::string& unitIdent, const std::string& formIdent,
                           const std::vector<std::string>& extraUses,
                           const std::vector<std::string>& fields) {
  std::string text = "unit " + unitIdent +
                     ";\r\n\r\ninterface\r\n\r\nuses\r\n  SysUtils, WinTypes, WinProcs, Messages, "
                     "Classes, Graphics, Controls,\r\n  StdCtrls, ExtCtrls, Forms";
  for (const std::string& unit : extraUses) text += ", " + unit;
  text += ";\r\n\r\ntype\r\n  T" + formIdent + " = class(TForm)\r\n";
  for (const std::string& field : fields) text += "    " + field + ";\r\n";
  text += "  end;\r\n\r\nvar\r\n  " + formIdent + ": T" + formIdent +
          ";\r\n\r\nimplementation\r\n\r\n{$R *.DFM}\r\n\r\nend.\r\n";
  return text;
}

std::string EmptyFrameText(const std::string& formIdent) {
  host::TForm form(nullptr);
  form.SetClassName("T" + formIdent);
  form.SetName(formIdent);
  form.SetBounds(200, 120, 640, 480);
  form.SetBorderStyle(host::bsSingle);
  form.SetCaption(formIdent);
  form.SetColor(host::clWhite);
  form.SetPosition(host::poScreenCenter);
  return host::WriteComponentText(form);
}

void CreateNewProject(const std::string& projectFile) {
  fs::path project = fs::absolute(projectFile);
  std::string name = project.stem().string();
  if (!host::TComponent::IsValidIdent(name))
    throw host::EConvertError("\"" + name + "\" cannot name a project: use letters, digits and _");
  fs::path folder = project.parent_path();
  std::error_code ec;
  if (!fs::is_directory(folder, ec))
    throw host::EInOutError("The folder " + folder.string() + " does not exist");
  std::vector<host::TFileWrite> files = {
      {project.string(),
       "program " + name +
           ";\r\n\r\nuses\r\n  Forms,\r\n  Unit1 in 'Unit1.pas' {Form1};\r\n\r\n{$R *.RES}\r\n\r\n"
           "begin\r\n  Application.Initialize;\r\n  Application.CreateForm(TForm1, Form1);\r\n"
           "  Application.Run;\r\nend.\r\n"},
      {(folder / "Unit1.pas").string(), UnitSourceText("Unit1", "Form1", {}, {})},
      {(folder / "Unit1.dfm").string(), EmptyFrameText("Form1")}};
  for (const host::TFileWrite& file : files)
    if (!host::LocateFile(file.Name).empty())
      throw host::EInOutError("The file " + file.Name + " exists already");
  host::WriteFilesTogether(files);
}

host::TForm* AddEmptyFrame(TDesignSession& session) {
  std::string unitIdent, fileName;
  if (!session.GetNewModuleName(unitIdent, fileName)) return nullptr;
  // The unit's number names its frame, as in a new project (Unit3 holds Form3), unless a frame
  // of that name exists already.
  int number = std::stoi(unitIdent.substr(4));
  while (session.FindForm("Form" + std::to_string(number))) ++number;
  std::string formIdent = "Form" + std::to_string(number);
  TIMemoryStream source(UnitSourceText(unitIdent, formIdent, {}, {}));
  TIMemoryStream form(EmptyFrameText(formIdent));
  if (!session.CreateModule(fileName, source, form,
                            {cmAddToProject, cmShowForm, cmUnNamed, cmMarkModified}))
    return nullptr;
  return session.FindForm(formIdent);
}

}  // namespace ide
