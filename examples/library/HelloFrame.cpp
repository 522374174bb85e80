// A frame of hot text in a program of your own, over the installed Mebrox kit.
//   hello-frame               the frame in a window; closing it ends the program
//   hello-frame --headless    the frame off screen: its hot word is clicked, what happens is
//                             printed, and the frame is saved as hello-frame.png

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <string>

#include "host/Forms.h"
#include "host/HostClasses.h"
#include "host/qt/QtBackend.h"
#include "runtime/HyperTxt.h"
#include "runtime/MsgDlgU.h"
#include "runtime/RuntimeClasses.h"

namespace {

// A frame as a project's form file would describe it, built in code instead.
host::TForm* MakeFrame() {
  auto* form = new host::TForm(host::Application);
  form->SetName("Form1");
  form->SetClassName("TForm1");
  form->SetCaption("Hello from Mebrox");
  form->SetBounds(200, 120, 440, 160);
  form->SetColor(host::clWhite);
  auto* text = new mebrox::THyperTxt(form);
  text->SetName("HyperTxt1");
  text->SetParent(form);
  text->SetBounds(16, 16, 400, 120);
  text->Font().SetName("Arial");
  text->Font().SetSize(12);
  text->Lines().Clear();
  text->Lines().Add("A frame of the Mebrox kit in a program of your own.");
  text->Lines().Add("Click the hot word for a note.");
  text->WordFont().Assign(text->Font());
  text->WordFont().SetColor(host::clNavy);
  text->WordFont().SetStyle({host::fsBold, host::fsUnderline});
  // Word action 0 shows the rest of the entry as a note.
  text->Words().NewWord("hot word", "0", "A note from the kit's description popup.");
  host::Application->AddForm(form);
  return form;
}

}  // namespace

int main(int argc, char** argv) {
  const bool headless = argc > 1 && std::string(argv[1]) == "--headless";
  if (headless) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  host::qt::InstallQtBackend(/*scriptedDialogs=*/headless);
  host::RegisterHostClasses();
  mebrox::RegisterRuntimeClasses();
  host::TForm* form = MakeFrame();

  if (!headless) {
    host::Application->Run();
    return 0;
  }
  // Off screen nobody closes the note: it is printed and closed at once.
  host::Application->ModalHook = [](host::TForm& modal) {
    if (auto* note = dynamic_cast<mebrox::TMsgDlg*>(&modal))
      std::cout << "note: " << note->MsgLbl().Caption() << '\n';
    modal.Close();
  };
  form->Show();
  // Saving the picture paints the frame, which lays out where its hot words are.
  host::SaveFormImage(*form, "hello-frame.png");
  auto& text = dynamic_cast<mebrox::THyperTxt&>(*form->FindComponent("HyperTxt1"));
  std::cout << "shown " << form->ClassName() << " with " << text.KeyStopCount()
            << " hot word: " << text.KeyStopName(0) << '\n';
  text.KeyStopClick(0);  // what Enter on the hot word does, as a click would
  return 0;
}
