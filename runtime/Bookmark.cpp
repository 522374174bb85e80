#include "runtime/Bookmark.h"

#include "host/Dialogs.h"
#include "host/IniFiles.h"
#include "runtime/Action.h"

namespace mebrox {

using namespace host;

const TClassInfo& TBookMark::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TBookMark", &TImage::StaticClassInfo());
    TPublisher<TBookMark>(i).SubObject<TAboutMebrox>(
        "About", [](TBookMark& b) -> TAboutMebrox& { return b.About(); }, nullptr);
    return i;
  }();
  return info;
}

TBookMark::TBookMark(TComponent* owner) : TImage(owner) {}

void TBookMark::Loaded() {
  TImage::Loaded();
  SetVisible(true);
  if (TIniFile(RunStateFileName()).ReadString("Marked", "At", "").empty()) SetVisible(false);
}

void TBookMark::Click() {
  TIniFile runState(RunStateFileName());
  std::string marked = runState.ReadString("Marked", "At", "");
  if (marked.empty()) return;
  if (MessageDlg("You have previously Marked the program.\rWould you like to continue?",
                 mtInformation, {mbYes, mbNo}, 0) != mrYes)
    return;
  TForm& holder = CurrentFrame(*this);
  std::vector<TComponent*> components = Application->ComponentList();
  for (TComponent* c : components) {
    if (c->ClassName() != marked) continue;
    auto* frame = dynamic_cast<TForm*>(c);
    if (!frame) throw EInvalidCast();
    runState.WriteString(marked, "From", holder.ClassName());
    runState.EraseSection("Marked");
    holder.Hide();
    frame->Show();
    SetVisible(false);
  }
}

}  // namespace mebrox
