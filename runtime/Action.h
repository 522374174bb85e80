#pragma once

#include <string>
#include <vector>

#include "host/Classes.h"
#include "host/Controls.h"
#include "host/Forms.h"

namespace mebrox {

enum TActionAttrs { acFrame, acExecute, acWavePlay, acDesc, acBookMark, acClose, acNone };
const std::vector<std::string>& ActionAttrsNames();

// What a click on a hot image or hot area does, stored with the component on its frame.
class TAction : public host::TPersistent {
  HOST_PUBLISHED_CLASS
 public:
  TActionAttrs ActionType() const { return FActionType; }
  void SetActionType(TActionAttrs value);
  const std::string& FileToRun() const { return FFileToRun; }
  void SetFileToRun(const std::string& value) { FFileToRun = value; }
  const std::string& WorkDir() const { return FWorkDir; }
  void SetWorkDir(const std::string& value) { FWorkDir = value; }
  const std::string& Param() const { return FParam; }
  void SetParam(const std::string& value) { FParam = value; }
  const std::string& WaveComp() const { return FWaveComp; }
  void SetWaveComp(const std::string& value) { FWaveComp = value; }
  const std::string& Frame() const { return FFrame; }
  void SetFrame(const std::string& value) { FFrame = value; }
  const std::string& Desc() const { return FDesc; }
  void SetDesc(const std::string& value) { FDesc = value; }

  // Copies all seven properties of another action.
  void Assign(const host::TPersistent& source) override;

 private:
  TActionAttrs FActionType = acNone;
  std::string FFileToRun, FWorkDir, FParam, FWaveComp, FFrame, FDesc;
};

// The run-state file of the running application: its executable path with ".RUN".
std::string RunStateFileName();

// The frame that holds a control: its owner, which must be a form.
host::TForm& CurrentFrame(const host::TComponent& control);

// The navigation steps shared by the hot components and the hot words.
// Records current as the opener of frame "T" + frameName (unless that is current's own
// class), then hides (main form) or closes current and shows every application form of that
// class.
void GotoFrame(host::TForm& current, const std::string& frameName);
// Reads and erases current's opener record, shows the opener, then closes current. When that
// leaves no form visible (no opener recorded, or the file lost) the application ends.
void GoBack(host::TForm& current);
// Plays every wave player of frame whose class name is "TWavePlay" and whose Name is waveComp.
void PlayWave(host::TForm& frame, const std::string& waveComp);
// Shows text in a description popup owned by owner, modally, and frees it afterwards. With a
// position the popup starts there (its own placement still applies when it is shown).
void ShowDescription(const std::string& text, host::TComponent* owner,
                     const host::TPoint* position = nullptr);
// Records current as the bookmarked frame and ends the application.
void BookmarkAndLeave(host::TForm& current);

// Carries out the action of a clicked hot image or hot area.
void PerformAction(host::TControl& control, const TAction& action);

// What a click does, as a screen reader says it ("goes to Second frame", "plays Chime"): for a
// hot word's action code (0 to 5) and data, and for an action. A frame is named by its caption
// when it has one. Empty for an action that does nothing.
std::string DescribeWordAction(int code, const std::string& data);
std::string DescribeAction(const TAction& action);
// How a hot image or hot area reads: a link when it goes somewhere, else a button; named by
// its hint, else by what it does.
host::TAccessibleInfo HotControlInfo(const host::TControl& control, const TAction& action);

}  // namespace mebrox
