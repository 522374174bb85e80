#include "runtime/Bookmark.h"

#include "host/Dialogs.h"
#include "runtime/Action.h"
#include "runtime/RunState.h"

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
  // The designer shows and stores the bookmark as it was designed, mark or no mark.
  if (IsDesigning()) return;
  SetVisible(true);
  if (ReadRunState("Marked", "At").empty()) SetVisible(false);
}

host::TAccessibleInfo TBookMark::AccessibleInfo() const {
  host::TAccessibleInfo info = TImage::AccessibleInfo();
  info.Role = host::TAccessibleRole::Button;
  if (info.Name.empty()) info.Name = "Bookmark";
  info.Description = "resumes where the bookmark was set";
  return info;
}

void TBookMark::Click() {
  std::string marked = ReadRunState("Marked", "At");
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
    WriteRunState(marked, "From", holder.ClassName());
    EraseRunStateSection("Marked");
    holder.Hide();
    frame->Show();
    SetVisible(false);
  }
}

}  // namespace mebrox
