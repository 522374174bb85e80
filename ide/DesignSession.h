#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Forms.h"
#include "host/ProjectFile.h"
#include "ide/DesignCore.h"
#include "ide/DesignHistory.h"
#include "ide/DesignIntf.h"
#include "ide/FormDesigner.h"
#include "ide/Recovery.h"
#include "ide/ToolIntf.h"

namespace ide {

// One unit of the open project, with its form when it has one.
struct TDesignModule {
  std::string UnitName;
  std::string FormName;    // the frame the project names in its braces; empty without a form
  std::string SourcePath;  // full path of the unit's source
  std::string FormPath;    // full path of its form file; empty for a unit without a form
  host::TForm* Form = nullptr;
  std::string Source;       // the unit's source as the session has it
  std::string SavedSource;  // and as its file holds it (empty while New)
  bool New = false;         // created in this session and not saved yet
};

// A project on disk held open for design: the project file, the units and their forms live in
// design state. It is the IDE's tool services over that project, tracks what changed, and
// saves it back through the form-file writer.
class TDesignSession : public TIToolServices {
 public:
  // Opens a project. Units, forms and the project file must agree: every unit's source and form
  // file exists, a form file holds the form its unit names with the class the project creates,
  // and a unit's source declares that class. Otherwise EParserError names the file and line,
  // and nothing stays open. A save of the project that was cut short (a crash among its renames)
  // is finished first, and told once through host::FileNotice.
  // With recovered, the files it kept are read in place of theirs on disk (and units it holds
  // that are not on disk yet join as new): the session stands where the one that kept them
  // stopped, its changes unsaved. The caller has checked that the project is as it found it.
  // The session designs in core, which must outlive it; the IDE installs it there as the
  // project in front of the designer when it shows it.
  TDesignSession(TDesignCore& core, const std::string& projectFile,
                 const TRecovery* recovered = nullptr);
  ~TDesignSession() override;
  TDesignSession(const TDesignSession&) = delete;
  TDesignSession& operator=(const TDesignSession&) = delete;

  // Tool services.
  std::string GetProjectName() override;
  int GetUnitCount() override;
  std::string GetUnitName(int index) override;
  // The source of a unit whose file does not hold it yet: created, or changed by a frame's new
  // name, in this session and not saved.
  bool GetUnitSource(const std::string& fileName, std::string& source) override;
  int GetFormCount() override;
  // The first UnitN that neither the project nor the project folder has yet.
  bool GetNewModuleName(std::string& unitIdent, std::string& fileName) override;
  // Adds a module made of a unit source and a form file. It stays in memory, modified and
  // unsaved, until Save. A malformed form fails with EParserError; a unit or form name the
  // project has already, or files of that name on disk, give false and change nothing.
  bool CreateModule(const std::string& fileName, TIMemoryStream& source, TIMemoryStream& form,
                    TCreateModuleFlags flags) override;

  // The IDE the session designs in: what its forms' editors and the experts come from.
  TDesignCore& Core() const { return FCore; }
  const std::string& ProjectPath() const { return FProjectPath; }
  const std::string& Folder() const { return FFolder; }
  const std::vector<TDesignModule>& Modules() const { return FModules; }
  // The module whose form that is; null for none.
  const TDesignModule* ModuleOf(const host::TForm& form) const;
  // The form named name (ignoring case), or null.
  host::TForm* FindForm(std::string_view name) const;
  // What editors of this form report their changes to: its designer.
  IDesigner& DesignerOf(host::TForm& form);
  TFormDesigner& FormDesignerOf(host::TForm& form);

  // Takes back the last step taken on a form (every change its designer or editors report,
  // named as they name it, key moves and edits of one property run together), or takes it
  // again; false when there is none. The form becomes byte for byte what its text was; its
  // components stay the same objects where only their properties change.
  bool Undo(host::TForm& form);
  bool Redo(host::TForm& form);
  bool CanUndo(const host::TForm& form) const;
  bool CanRedo(const host::TForm& form) const;
  // How many steps undo can take back on the form.
  size_t UndoSteps(const host::TForm& form) const;
  // What undo and redo would take back or again ("Move HyperTxt1"); empty when nothing.
  std::string UndoName(const host::TForm& form) const;
  std::string RedoName(const host::TForm& form) const;
  // Bytes the steps of every form hold.
  size_t HistorySize() const;

  // Takes a frame out of the project: its unit leaves the project file (its files stay on disk)
  // and its form closes. Refused with EComponentError for the project's only frame. Returns what
  // still goes to the frame ("Form1.HyperTxt1"), for the designer to put right. A step of the
  // project's, as adding a frame is.
  std::vector<std::string> RemoveFrame(host::TForm& form);
  // Brings a frame whose unit is on disk into the project, as a step of the project's, and opens
  // its form: one taken out earlier, or one from another project. The form file lies beside the
  // unit (unitFile may name either). A frame from outside the project folder is copied in first,
  // unit and form beside the project, with the files its components name from its own folder
  // into the same places here; a file of the same name here already is never written over: the
  // add is refused naming them. Refused with EComponentError when the project has a unit or a
  // frame of that name already; a unit or form that does not read fails with EParserError naming
  // the file and line. Nothing changes on a failure. copied: the files copied in, relative to
  // the project folder.
  host::TForm& AddExistingFrame(const std::string& unitFile,
                                std::vector<std::string>* copied = nullptr);
  // The components of other frames whose actions or hot words go to the frame.
  std::vector<std::string> LinksTo(const host::TForm& form) const;
  // Steps on the project as a whole (frames added and removed), taken back and again; false when
  // there is none, or when a later rename of a frame has to be taken back first.
  bool UndoProject();
  bool RedoProject();
  bool CanUndoProject() const;
  bool CanRedoProject() const;
  // What the studio's Undo and Redo take while the designer works on a form (null: on none): the
  // project's step when it is later than the form's own, else the form's; its name for the menu.
  bool UndoLatest(host::TForm* form);
  bool RedoLatest(host::TForm* form);
  std::string UndoLatestName(const host::TForm* form) const;
  std::string RedoLatestName(const host::TForm* form) const;
  uint64_t UndoSequence(const host::TForm& form) const;
  uint64_t RedoSequence(const host::TForm& form) const;

  void BeginStepGroup(const std::string& name) override;
  void EndStepGroup() override;

  // Whether anything differs from the project's files: a form, a unit, the project file.
  // Undoing back to what was saved makes it false again.
  bool Modified() const;
  // Whether the frame differs from its files: made, or changed since they were written.
  bool Modified(const host::TForm& form) const;
  // Records a change to a form (the editors' Designer.Modified comes here). A frame renamed by
  // the change is renamed wherever the project names it: the project file, its unit's class and
  // variable, and the actions and hot words of every frame that go to it.
  void MarkModified(host::TForm& form);
  // Fails with EComponentError when form may not be renamed so: another frame or unit of the
  // project has that name already.
  void CheckFrameName(const host::TForm& form, const std::string& newName) const;
  // The unit's source as the session has it (with renames not saved yet).
  const std::string& UnitSource(const TDesignModule& module) const { return module.Source; }
  // Writes what changed since the last save: forms whose text differs from their file, new
  // units, the project file when units joined it. All files are replaced together or none is;
  // a failure names the file and leaves the project modified. Returns the files written,
  // relative to the project folder.
  std::vector<std::string> Save();
  // What is not saved, as a recovery file keeps it.
  TRecovery RecoveryState() const;
  // Keeps what is not saved in the project's recovery file (RecoveryFileFor), when anything
  // changed since it was last kept: now, or in the background so that the designer never waits
  // for the disk. With nothing unsaved there is no recovery file.
  void KeepRecovery(bool inBackground);
  // The recovery file goes: a save does this, and so does a designer discarding the changes.
  void DiscardRecovery();
  // Waits for a recovery file being written in the background.
  void WaitForRecovery() { FRecoveryWriter.Wait(); }

  // Saves the project under another name, which must be an identifier. In the same folder only
  // the project file is new; in another folder the whole project goes there (units, forms and the
  // other files beside the project, such as word lists and waves, each with its permissions),
  // and the original stays as it was saved. A file of the same name there already is never
  // written over: the save is refused with every such name. The session then designs the new
  // project. Failures change nothing. Returns the files written, relative to the new folder.
  std::vector<std::string> SaveAs(const std::string& projectFile);

  // Told when a change is recorded, and when a new module's form opens.
  host::TEvent<host::TForm&> OnModified;
  host::TEvent<host::TForm&> OnFormOpened;
  // Told before a form closes because its frame left the project, and when the project's own
  // make-up changed (a frame added or removed).
  host::TEvent<host::TForm&> OnFormClosing;
  host::TEvent<> OnProjectChanged;

 private:
  void OpenModule(const host::TProjectUnit& unit);
  host::TForm& AddForm(std::unique_ptr<host::TForm> form, std::string savedText);
  std::string Relative(const std::string& path) const;
  // Where a save keeps the list of its renames while it puts files in place.
  std::string JournalPath() const;
  // The files a save would write now: the forms written anew (fresh), or as their last recorded
  // change left them.
  // Units whose form changed but whose fields the studio cannot read go to unread.
  std::vector<host::TFileWrite> PendingWrites(bool fresh,
                                              std::vector<std::string>* unread = nullptr) const;
  // The unit's source with its form class declaring the form's components as they are now;
  // false, with the source as it is, when it declares them in a way the studio does not read.
  bool SourceInStep(const TDesignModule& module, std::string& source) const;
  // While opening: the bytes of a project file, from the recovery when it kept them, and what
  // the disk holds, fingerprinted; LocateUnitFile finds a file on disk or in the recovery.
  std::optional<std::string> Recovered(const std::string& path) const;
  std::string ReadDiskFile(const std::string& path);
  void KeepDiskPrint(const std::string& path, const std::string& bytes);
  std::string LocateUnitFile(const std::string& relative);
  void ReplaceProjectText(std::string text);
  bool ModuleModified(const TDesignModule& module) const;
  // Copies a frame's unit and form, and the files its components name, from another folder
  // into the project folder; the copied unit's and form's paths come back in place of theirs.
  // Returns the files copied, relative to the project folder.
  std::vector<std::string> CopyFrameIn(std::string& sourcePath, std::string& formPath,
                                       const std::string& source, const std::string& formText,
                                       host::TForm& form);

  // A form held open: the text its file holds, and the designer its editors report to.
  struct TOpenForm {
    std::unique_ptr<host::TForm> Form;
    std::string SavedText;
    std::unique_ptr<TFormDesigner> Designer;
    std::string LastText;  // the form's text after the last recorded change
    TDesignHistory History;
  };
  TOpenForm* FindOpen(const host::TForm& form);
  const TOpenForm* FindOpen(const host::TForm& form) const;
  void Reload(TOpenForm& open, const std::string& text);
  void RecordUnrecordedChanges();
  // Takes the form's text as a step its undo can go back to.
  void RecordStep(TOpenForm& open, std::string name, std::string mergeKey);
  // Renames, wherever the project names them, the frames whose forms have new names.
  void FollowFrameRenames();
  // By value: the names may be the module's own, which this changes.
  void RenameFrame(TDesignModule& module, std::string oldName, std::string newName);

  TDesignCore& FCore;
  std::string FProjectPath;
  std::string FFolder;
  std::string FProjectText;
  std::string FSavedProjectText;
  host::TProjectFile FProject;
  std::vector<TDesignModule> FModules;
  std::vector<TOpenForm> FOpenForms;
  // Changes made, and how many of them the recovery file holds.
  int64_t FChanges = 0;
  int64_t FKeptChanges = 0;
  // The project's files as last read or written, for telling whether a recovery still applies.
  std::map<std::string, std::optional<uint64_t>> FDiskPrints;
  std::map<std::string, std::string> FRecovered;  // while opening from a recovery

  // A frame out of the project, kept whole so that it can come back.
  struct TKeptFrame {
    TDesignModule Module;
    std::string Text, SavedText;
    TDesignHistory History;
  };
  struct TProjectStep {
    std::string Name;
    uint64_t Sequence = 0;
    uint64_t Group = 0;
    bool Added = false;  // a frame added (else removed)
    size_t Index = 0;    // of its module
    TKeptFrame Frame;    // while it is out of the project
    std::string ProjectBefore, ProjectAfter;
  };
  std::vector<TProjectStep> FProjectDone, FProjectUndone;
  TKeptFrame TakeOut(size_t index);
  // Takes back (undo) or again a step of the project's, or of one form.
  bool TakeProjectStep(bool undo);
  bool TakeFormStep(host::TForm& form, bool undo);
  void PutBack(size_t index, TKeptFrame frame);
  void RecordProjectStep(TProjectStep step);
  int FGroupDepth = 0;
  uint64_t FGroup = 0;  // of the steps taken now; 0 outside a group
  std::map<uint64_t, std::string> FGroupNames;
  // The step of the group done last (undone first) of all, on a form (null: the project's);
  // false when none is left.
  bool LatestOfGroup(uint64_t group, bool done, TOpenForm*& form) const;
  // Takes back (or again) every step of the group left, latest first (earliest first).
  void TakeGroup(uint64_t group, bool undo);
  // The step the studio's Undo (Redo) takes while the form is designed: the project's or the
  // form's, with its group and name; none when there is nothing to take.
  struct TNextStep {
    bool Project = false;
    uint64_t Group = 0;
    std::string Name;
  };
  std::optional<TNextStep> NextStep(const host::TForm* form, bool undo) const;
  bool TakeLatest(host::TForm* form, bool undo);
  std::string LatestName(const host::TForm* form, bool undo) const;
  // Whether Undo or Redo on the form takes the project's step rather than the form's own.
  bool ProjectUndoComesFirst(const host::TForm* form) const;
  bool ProjectRedoComesFirst(const host::TForm* form) const;
  TRecoveryWriter FRecoveryWriter;
};

}  // namespace ide
