#pragma once

#include <string>
#include <vector>

#include "apps/run/ProjectCheck.h"

namespace mebrox {

// A finished application as a folder of web files: index.html holds every frame, the script and
// the style sheet behave and look as mebrox-run does, pictures and sounds lie beside them.
//
// The markup is a contract that scripts and tests rely on:
// - a frame is a <section class="mx-frame"> whose id is the frame's name (data-class holds its
//   class name, data-caption its caption, which becomes the page title while it shows);
// - every component is an element with data-name holding its name;
// - a hot word is an <a class="mx-word"> whose text is the word (data-word holds the whole word
//   when it is broken over two lines), placed on the slot the kit's own layout gave it;
// - each text a hot text can come to show is a <div class="mx-page"> inside it.
struct TWebFile {
  std::string Path;  // relative to the folder, with '/'
  std::string Bytes;
};

struct TWebSite {
  std::vector<TWebFile> Files;
  // What a browser cannot do as the desktop does, as FILE(LINE): SUBJECT: warning: PROBLEM.
  std::vector<std::string> Warnings;

  const TWebFile* Find(const std::string& path) const;
};

// One piece of text of a hot text's page as the kit laid it out, in the control's pixels.
struct TLaidText {
  int X = 0;
  int Y = 0;
  std::string Text;
};

// Lays out the hot text's current Lines with its own layout code, as a paint on screen would,
// and gives every piece of text it drew; the slots of its hot words are the control's WordPos.
std::vector<TLaidText> LayOutHotText(class THyperTxt& text);

// The check's findings as publishing weighs them: its errors keep a project from being
// published, except for a wave player's sound file that is missing or unreadable, which the page
// gets over as the desktop does, by playing nothing; that one is a warning here.
struct TPublishFindings {
  std::vector<TFinding> Errors;
  std::vector<TFinding> Warnings;
};
TPublishFindings WeighFindings(const TLoadedProject& project, const TProjectReport& report);

// Builds the site of a loaded project. The frames' hot texts are laid out once per text they can
// come to show, which switches their Lines: the project is not fit to run afterwards.
TWebSite BuildWebSite(const TLoadedProject& project);

// Writes the site as the folder target, all or nothing: it is built in a folder beside target
// and renamed into place. An existing target that is not an empty folder is refused unless
// force (then it is replaced as a whole); a target that holds the project is always refused.
// Fails with EInOutError naming the folder as shown (the name the user gave it).
void WriteWebSite(const TWebSite& site, const std::string& target, const std::string& shown,
                  const std::string& projectFolder, bool force);

// The script and the style sheet of every exported site.
const std::string& WebScript();
const std::string& WebStyleSheet();

}  // namespace mebrox
