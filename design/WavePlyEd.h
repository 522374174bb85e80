#pragma once

#include <string>
#include <vector>

#include "ide/ComponentEditor.h"
#include "ide/PropertyEditor.h"
#include "runtime/WavePly.h"

namespace mebrox {

// The wave player's component editor: pick its wave, listen to it, record a new one, close the
// device. A double-click picks the wave.
class TWavePlayEditor : public ide::TComponentEditor {
 public:
  using ide::TComponentEditor::TComponentEditor;
  // The wave file picker, pre-set to the current WaveName.
  void Edit() override;
  int GetVerbCount() override { return 4; }
  std::string GetVerb(int index) override;
  void ExecuteVerb(int index) override;

 private:
  TWavePlay& Player() const;
  void Record();
};

// The editor of a wave player's WaveName: typed, or picked with the wave file picker. It works
// on the first selected player only, so the inspector offers it for one player at a time.
class TWaveNameProperty : public ide::TPropertyEditor {
 public:
  using ide::TPropertyEditor::TPropertyEditor;
  ide::TPropertyAttributes GetAttributes() const override { return {ide::paDialog}; }
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  void Edit() override;

 private:
  TWavePlay& Player() const;
};

// Takes the last of the files dropped on a designed wave player as a wave picked with its
// editor, for the project in projectFolder. A file that is no wave the player can play fails,
// saying why, and changes nothing.
void DropWave(TWavePlay& player, const std::vector<std::string>& files,
              const std::string& projectFolder);

}  // namespace mebrox
