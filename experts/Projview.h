#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Buttons.h"
#include "host/EditCtrls.h"
#include "host/ExtCtrls.h"
#include "host/Forms.h"
#include "host/IniFiles.h"
#include "host/ListCtrls.h"
#include "host/Menus.h"
#include "host/StdCtrls.h"
#include "host/Strings.h"
#include "ide/ExptIntf.h"

namespace ide {
class TDesignCore;
class TIToolServices;
}  // namespace ide

namespace mebrox::Projview {

// Registers the Project Thumbnail Expert in core, whose project it shows.
void Register(ide::TDesignCore& core);

// The class name of project frame number index (from 0), as its unit declares it: on the first
// line holding "(TForm)", the first word after leading blanks. Frame index i is the i-th unit of
// the project, in the IDE's order, that is a ".pas" unit (the extension in any case) declaring a
// form, or whose source cannot be read yet; the old IDE counted two entries of its own before
// the units, which is why it read unit position index + 2. A unit that cannot be read gives a
// warning; then, and when nothing is found, formName keeps what the caller passed.
// The frames are those of the project of services; without services formName stays as it is.
void GetFormName(ide::TIToolServices* services, int index, std::string& formName);
// One GetFormName result per index from 0 up to and including the unit count, all filled
// through one name variable; empty without services.
std::unique_ptr<host::TStringList> GetFormNames(ide::TIToolServices* services);
// Deletes one key from the file behind the INI object.
void RemoveINIEntry(host::TIniFile& iniFile, const std::string& section, const std::string& ident);

}  // namespace mebrox::Projview

namespace mebrox {

// The expert behind the IDE's menu entry "Project Thumbnail Expert".
class ProjectViewExpert : public ide::TStandardExpert {
 public:
  explicit ProjectViewExpert(ide::TDesignCore& core)
      : TStandardExpert("Project Thumbnail Expert", "Tarnwick.Project Thumbnail Expert"),
        FCore(core) {}
  // Creates the dialog once, owned by the application, and shows it for the core's project.
  void Execute() override;

 private:
  ide::TDesignCore& FCore;
};

// "Project View": the project's frames sorted into named groups, kept in the project sections
// file beside the project (the project's name with ".INI"). Frames of no group sit in the built-in
// group "NotFiledFrames", always first. The frame list shows the chosen group's frames, each
// with its own thumbnail, and beside it the picture of the chosen frame; its popup menu (right
// click, or Shift+F10) moves a frame to another group or up and down within its own, as do Ctrl+Up
// and Ctrl+Down. Every change is saved at once, and shown only once the file holds it. A damaged
// file is never written over: the user starts a new one from what could be read, the old one kept
// beside it as ".bak", or goes on without saving; a file that cannot be read or written is not
// saved to either.
class TProjViewDlg : public host::TForm {
 public:
  // It shows the project in front of the designer in core, as it is at each showing.
  TProjViewDlg(host::TComponent* owner, ide::TDesignCore& core);
  ~TProjViewDlg() override;

  static constexpr int ThumbnailSize = 150;
  // The height of a frame's item in the list: its thumbnail with a little room.
  static constexpr int ItemSize = 155;

  host::TLabel* Label1;
  host::TEdit* Edit1;
  host::TBitBtn* bbAdd;
  host::TBitBtn* bbDel;
  host::TListBox* ListBox2;  // the groups
  host::TListBox* ListBox1;  // the frames of the chosen group
  host::TPanel* Panel1;
  host::TImage* Thumbnail;  // the chosen frame's picture
  host::TLabel* Label2;
  host::TBitBtn* BitBtn1;
  host::TBitBtn* BitBtn2;
  host::TPopupMenu* FrameMenu;

  const std::string& ProjININame() const { return FProjININame; }
  void SetCore(ide::TDesignCore& core) { FCore = &core; }

 private:
  struct TFrame {
    std::string Name;
    std::shared_ptr<const host::TRawImage> Picture;  // null when the frame's form was not showing
  };
  struct TGroup {
    std::string Name;
    std::vector<TFrame> Frames;
  };
  class TReader;

  // Showing and Refresh: the lists again from the file and the project.
  void Rebuild();
  void FormClose();
  void bbAddClick();
  void bbDelClick();
  void ListBox2Click();
  void ListBox1Click();
  // A frame's item: its thumbnail (or a crossed square when its form is not showing) and its
  // name beside it.
  void ListBox1DrawItem(int index, const host::TRect& rect, host::TOwnerDrawState state);
  void ListBox1KeyDown(host::TKey& key, host::TShiftState shift);
  void FrameMenuPopup();

  void OpenProjINI();
  void LoadProjINI();
  // A damaged file: the user starts a new one (true) or goes on without saving.
  bool StartAfresh(const std::string& fault);
  // Files the project's frames that no group holds under "NotFiledFrames"; true when any was.
  bool AddNewFrames(const std::vector<std::string>& frames);
  void FreeLists();

  // Why name cannot be the name of a group besides groups; empty when it can.
  static std::string GroupNameFault(const std::string& name, const std::vector<TGroup>& groups);
  TGroup* SelectedGroup();
  // The position of the chosen frame in the chosen group; -1 for none.
  int SelectedFrame();
  void MoveFrameToGroup(int target);
  void MoveFrameBy(int delta);

  void ShowGroups(int groupIndex, int frameIndex);
  void FillFrameView(int frameIndex);
  void ShowThumbnail();
  void ShowSaving();

  // Writes groups as the whole grouping, and erases the sections named in gone, in one write:
  // the file takes all of it or stays as it was. When it cannot be written the user is told
  // why, followed by otherwise, and the result is false. Does nothing while saving is off.
  bool Save(const std::vector<TGroup>& groups, const std::vector<std::string>& gone,
            const std::string& otherwise);

  ide::TDesignCore* FCore;
  std::string FProjININame;
  std::vector<TGroup> FGroups;  // "NotFiledFrames" first, then the user groups in file order
  // Off after a damaged file the user chose not to replace, or a file that cannot be used.
  bool FSaving = true;
};

// The dialog, once the expert has made it.
extern TProjViewDlg* ProjViewDlg;

}  // namespace mebrox
