#pragma once

#include <string>
#include <string_view>

#include "host/Types.h"

namespace ide {

// A module's text handed to the IDE; the stream owns its bytes.
class TIMemoryStream {
 public:
  TIMemoryStream() = default;
  explicit TIMemoryStream(std::string bytes) : FBytes(std::move(bytes)) {}

  const std::string& Bytes() const { return FBytes; }
  size_t Size() const { return FBytes.size(); }
  void Write(std::string_view bytes) { FBytes.append(bytes); }

 private:
  std::string FBytes;
};

enum TCreateModuleFlag {
  cmAddToProject,  // the module joins the current project
  cmShowSource,    // its source is opened in the editor
  cmShowForm,      // its form is opened in a designer
  cmUnNamed,       // it has not been saved under a name of the user's yet
  cmNewUnit,
  cmNewForm,
  cmMainForm,
  cmMarkModified,  // it counts as changed and unsaved
  cmNewFile,
  cmExisting
};
using TCreateModuleFlags = host::TSet<TCreateModuleFlag>;

// The IDE's services to experts and editors, over the open project.
class TIToolServices {
 public:
  virtual ~TIToolServices();

  // Full file name of the current project.
  virtual std::string GetProjectName() = 0;
  virtual int GetUnitCount() = 0;
  // Full file name of the unit at index; empty for an index that names no unit (callers may ask
  // for one past the last).
  virtual std::string GetUnitName(int index) = 0;
  // The source of the unit of that file name as the IDE holds it, when its file does not say
  // it (a unit made or changed and not saved yet); false when the file on disk is its source.
  virtual bool GetUnitSource(const std::string& fileName, std::string& source);
  virtual int GetFormCount() = 0;
  // Proposes the identifier and file name of the next new unit; false when there is none.
  virtual bool GetNewModuleName(std::string& unitIdent, std::string& fileName) = 0;
  // Creates a module from a unit source and a form file; flags say how it joins the project.
  virtual bool CreateModule(const std::string& fileName, TIMemoryStream& source,
                            TIMemoryStream& form, TCreateModuleFlags flags) = 0;
  // The changes made from BeginStepGroup to its EndStepGroup, on any form and the project, are
  // one step for undo, named name (a new frame and the action that goes to it). A group begun
  // within another is part of it.
  virtual void BeginStepGroup(const std::string& name);
  virtual void EndStepGroup();
};

// A group of steps for the life of the object, on the project's services; none without them.
class TStepGroup {
 public:
  TStepGroup(TIToolServices* services, const std::string& name);
  ~TStepGroup();
  TStepGroup(const TStepGroup&) = delete;
  TStepGroup& operator=(const TStepGroup&) = delete;

 private:
  TIToolServices* FServices;
};

}  // namespace ide
