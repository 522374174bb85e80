#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Dialogs.h"
#include "host/Forms.h"
#include "tests/TestSupport.h"

namespace testing_support {

// A component as the designer's palette drops it on owner: made, then given its first look.
template <class T>
T* DropNew(host::TComponent& owner) {
  auto* component = new T(&owner);
  component->DroppedFromPalette();
  return component;
}

// A small application: frames named Form1, Form2 ... owned by Application (the first is the
// main form), its executable in a temporary folder so that the run-state file lands there, and
// every form event recorded as a trace line. Everything is put back when it goes.
class Frames {
 public:
  explicit Frames(int count) {
    FOldExe = host::Application->ExeName();
    host::Application->SetExeName(FDir.File("Test.exe"));
    for (int i = 1; i <= count; ++i) {
      auto* form = new host::TForm(host::Application);
      host::Application->AddForm(form);
      form->SetName("Form" + std::to_string(i));
      form->SetClassName("TForm" + std::to_string(i));
      FForms.push_back(form);
    }
    auto& events = host::Application->Events;
    events.FormShown = [this](host::TForm& f) { Trace.push_back("show " + f.ClassName()); };
    events.FormHidden = [this](host::TForm& f) { Trace.push_back("hide " + f.ClassName()); };
    events.FormClosed = [this](host::TForm& f) { Trace.push_back("close " + f.ClassName()); };
    events.Terminated = [this] { Trace.push_back("terminate"); };
  }
  ~Frames() {
    host::Application->Events = {};
    host::Application->ModalHook = nullptr;
    for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) delete *it;
    host::Application->ResetTerminated();
    host::Application->SetExeName(FOldExe);
    host::Screen->SetCursor(0);
  }
  Frames(const Frames&) = delete;
  Frames& operator=(const Frames&) = delete;

  host::TForm& operator[](int number) { return *FForms.at(static_cast<size_t>(number - 1)); }
  std::string RunFile() const { return FDir.File("Test.RUN"); }
  std::string RunText() const { return ReadFile(RunFile()); }
  const TempDir& Dir() const { return FDir; }
  std::vector<std::string> Trace;

 private:
  TempDir FDir;
  std::string FOldExe;
  std::vector<host::TForm*> FForms;
};

// A key pressed on form, where the keyboard is: its active control, else the form itself.
inline void PressKey(host::TForm& form, host::TKey key, host::TShiftState shift = {}) {
  host::TKeyEventRecord event;
  event.Key = key;
  event.Shift = shift;
  if (key == host::VK_SPACE) event.Text = " ";
  host::TWinControl* target = form.ActiveControl();
  (target ? target : &form)->PerformKey(event);
}

inline host::TScriptedDialogs& Dialogs() {
  return static_cast<host::TScriptedDialogs&>(host::DialogService());
}

}  // namespace testing_support
