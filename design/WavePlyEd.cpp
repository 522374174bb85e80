#include "design/WavePlyEd.h"

#include <filesystem>
#include <system_error>

#include "design/ProjectAssets.h"
#include "design/SoundRecorder.h"
#include "host/Dialogs.h"
#include "host/media/SndfileDecoder.h"
#include "ide/ToolIntf.h"

namespace mebrox {

namespace fs = std::filesystem;

namespace {

// The folder the player's wave is looked for in: its WorkDir, else the project folder.
std::string PlayerFolder(const TWavePlay& player, const std::string& projectFolder) {
  return player.GetWorkDir().empty() ? projectFolder : player.GetWorkDir();
}

// Why the wave player could not play the file, found by opening it as the player will; empty
// when it can.
std::string WaveFault(const std::string& fileName) {
  try {
    host::TSoundFileStream probe(fileName);
    return std::string();
  } catch (const host::EDamagedSound& e) {
    return e.Message();
  } catch (const host::EInvalidSound&) {
    return "The file \"" + fileName + "\" is not a wave sound: the wave player cannot play it.";
  } catch (const host::EInOutError& e) {
    return e.Message();
  }
}

// Whether the wave player will be able to play the file; otherwise the designer is told why.
bool IsPlayableWave(const std::string& fileName) {
  std::string fault = WaveFault(fileName);
  if (!fault.empty()) host::ShowMessage(fault);
  return fault.empty();
}

// Puts a wave into the player by its name inside the project folder, with no WorkDir, which the
// player takes for the project folder at run time, so the project can move; a wave from
// elsewhere is copied in first. Names keep their case: the file system tells cases apart.
void KeepWave(TWavePlay& player, const std::string& fileName, const std::string& projectFolder) {
  std::string inside = TakeIntoProject(fileName, TFileKind::Wave, projectFolder);
  player.SetWorkDir(std::string());
  player.SetWaveName(inside);
}

// Puts a chosen wave into the player; false, after telling the designer, when it is no wave.
bool StoreWave(TWavePlay& player, const std::string& fileName, const std::string& projectFolder) {
  if (!IsPlayableWave(fileName)) return false;
  KeepWave(player, fileName, projectFolder);
  return true;
}

// The wave file picker; true with fileName the file the designer chose.
bool PickWave(const std::string& folder, const std::string& preset, std::string& fileName) {
  host::TOpenDialog picker(nullptr);
  picker.SetDefaultExt("wav");
  picker.SetFilter("Wave Files, *.WAV|*.WAV");
  picker.SetInitialDir(folder);
  picker.SetFileName(preset);
  if (!picker.Execute()) return false;
  fileName = picker.FileName();
  return true;
}

}  // namespace

void DropWave(TWavePlay& player, const std::vector<std::string>& files,
              const std::string& projectFolder) {
  if (files.empty()) return;
  const std::string& fileName = files.back();
  if (std::string fault = WaveFault(fileName); !fault.empty()) throw host::EInOutError(fault);
  KeepWave(player, fileName, projectFolder);
}

TWavePlay& TWavePlayEditor::Player() const {
  return dynamic_cast<TWavePlay&>(Component());
}

void TWavePlayEditor::Edit() {
  TWavePlay& player = Player();
  const std::string project = ProjectFolder(Designer().ToolServices());
  std::string fileName;
  if (PickWave(PlayerFolder(player, project), player.GetWaveName(), fileName) &&
      StoreWave(player, fileName, project))
    Designer().Modified();
}

std::string TWavePlayEditor::GetVerb(int index) {
  switch (index) {
    case 0:
      return "Wave &Name...";
    case 1:
      return "&Play";
    case 2:
      return "&Record...";
    case 3:
      return "C&lose";
    default:
      return std::string();
  }
}

void TWavePlayEditor::ExecuteVerb(int index) {
  switch (index) {
    case 0:
      Edit();
      break;
    case 1:
      Player().Play();
      break;
    case 2:
      Record();
      break;
    case 3:
      Player().CloseWave();
      break;
    default:
      break;
  }
}

void TWavePlayEditor::Record() {
  // The recording lands in the project folder, so that it is kept like a wave picked there.
  const std::string project = ProjectFolder(Designer().ToolServices());
  std::string kept = RecordSound(project);
  if (!kept.empty() && StoreWave(Player(), kept, project)) Designer().Modified();
}

TWavePlay& TWaveNameProperty::Player() const {
  return dynamic_cast<TWavePlay&>(*GetComponent(0));
}

std::string TWaveNameProperty::GetValue() const {
  return Player().GetWaveName();
}

void TWaveNameProperty::SetValue(const std::string& value) {
  Player().SetWaveName(value);
  Modified();
}

void TWaveNameProperty::Edit() {
  const std::string project = ProjectFolder(Designer().ToolServices());
  std::string fileName;
  if (PickWave(PlayerFolder(Player(), project), std::string(), fileName) &&
      StoreWave(Player(), fileName, project))
    Modified();
}

}  // namespace mebrox
