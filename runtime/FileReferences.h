#pragma once

#include <string>
#include <vector>

#include "host/Classes.h"

namespace mebrox {

enum class TFileKind { Wave, Text, WordList, Program };

// A file a component names, for the run to open or start.
struct TFileReference {
  std::string Subject;  // what names it: "WavePlay1.WaveName", "HyperTxt1.Words \"Run\""
  // As the run looks for it from the project folder: "chime.wav", "media/chime.wav",
  // "/home/ann/chime.wav". A program named bare ("xdg-open") may be found on the PATH instead.
  std::string Path;
  TFileKind Kind = TFileKind::Wave;
};

// The files the component names: a wave player's wave, the program of an action, the text and
// word-list files of a hot text and the programs its hot words run (those of its word lists
// too, as far as they read).
std::vector<TFileReference> FileReferencesOf(host::TComponent& component);

// Whether a reference, resolved from the project folder, lies outside it. A program named bare
// that the folder does not hold is not: it is looked for on the PATH.
bool LeavesFolder(const TFileReference& reference, const std::string& folder);

}  // namespace mebrox
