#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/FormLines.h"
#include "host/Forms.h"
#include "host/ProjectFile.h"

namespace mebrox {

enum class TSeverity { Error, Warning };

// One thing wrong with a project: where it is (file and line), what it concerns (a component's
// property, a component or a frame) and what is the matter.
struct TFinding {
  TSeverity Severity = TSeverity::Error;
  std::string File;
  int Line = 0;
  std::string Subject;  // HyperTxt1.Words, Form3; empty when the message says it all
  std::string Problem;

  // FILE(LINE): SUBJECT: PROBLEM, with "warning: " before the problem of a warning.
  std::string Text() const;
};

// One frame of a project and where its form file says what.
struct TFrameInfo {
  std::string Name;       // Form1
  std::string ClassName;  // TForm1
  std::string File;       // its form file as the user names it; the project file when it has none
  host::TFormLines Lines;
  host::TForm* Form = nullptr;  // null when the frame could not be loaded
};

// A project read as mebrox-run reads it: the project file, then every frame constructed as the
// run constructs it (never shown). Frames that fail to load become findings, so that the rest of
// the project can still be looked at. Holds the application's forms while it lives.
class TLoadedProject {
 public:
  // Fails only when the project file itself cannot be read (EInOutError, EParserError). Makes
  // the project folder the current directory, as the run does.
  static std::unique_ptr<TLoadedProject> Load(const std::string& projectFile);
  ~TLoadedProject();
  TLoadedProject(const TLoadedProject&) = delete;
  TLoadedProject& operator=(const TLoadedProject&) = delete;

  const host::TProjectFile& Project() const { return FProject; }
  // The project folder, absolute.
  const std::string& Folder() const { return FFolder; }
  // A path of the project folder as the user would name it from where the project was named.
  std::string Shown(const std::string& absolutePath) const;
  // In creation order; the first is the main frame.
  const std::vector<TFrameInfo>& Frames() const { return FFrames; }
  const TFrameInfo* FindFrame(const std::string& name) const;
  // The frames that could not be loaded, and why.
  const std::vector<TFinding>& LoadFailures() const { return FLoadFailures; }

 private:
  TLoadedProject() = default;

  host::TProjectFile FProject;
  std::string FFolder;
  std::string FShownFolder;
  std::vector<TFrameInfo> FFrames;
  std::vector<TFinding> FLoadFailures;
};

enum TLinkKind {
  lkFrame,     // shows another frame
  lkBack,      // back to the frame this one was opened from
  lkBookmark,  // marks the frame and ends the application
  lkResume,    // a bookmark picture, on to the marked frame
  lkProgram,   // starts a program or opens a document
  lkWave,      // plays a wave player of the frame
};

// A way out of a frame that a person can take: a hot word that shows, a hot image, a hot area, a
// bookmark picture.
struct TLink {
  TLinkKind Kind = lkFrame;
  std::string From;     // the frame's name
  std::string Target;   // a frame's name, a program's file, a wave player's name; empty for
                        // lkBack and lkBookmark
  std::string Label;    // the hot word, or the component's name
  std::string Detail;   // lkWave: the wave file
  bool Broken = false;  // the frame or wave player named is not there
};

struct TProjectReport {
  // Errors first, then warnings, each in the order of the files and lines.
  std::vector<TFinding> Findings;
  std::vector<TLink> Links;
  int Errors() const;
  int Warnings() const;
};

// Looks for every broken or suspicious link of a loaded project: frames, wave players and files
// that are not there or not of their kind, hot words that never show or that the loader would
// misread, lists that never load, frames that nothing leads to, effects that show nothing.
TProjectReport CheckProject(const TLoadedProject& project);

// The name among candidates that name was most likely meant to be: the same ignoring case, else
// the nearest by edit distance (a swap of two letters counting once) when that is close enough.
// Several equally near give "A, B or C"; empty when none is near.
std::string NearestName(const std::string& name, const std::vector<std::string>& candidates);

}  // namespace mebrox
