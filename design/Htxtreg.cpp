#include "design/Htxtreg.h"

#include "design/Aboutpt.h"
#include "design/Lnslst.h"
#include "design/Wrddef.h"
#include "design/Wrdlst.h"
#include "host/SysUtils.h"
#include "ide/Registry.h"
#include "runtime/HyperTxt.h"

namespace mebrox::Htxtreg {

namespace {

// Hot words that go to a renamed frame (code 1, the frame's name as their data) follow it.
// The entries change on a copy first: an entry that cannot hold the new name leaves them all.
bool RenameWordFrames(host::TComponent& component, const std::string& from, const std::string& to,
                      bool apply) {
  TWords& words = static_cast<THyperTxt&>(component).Words();
  TWords renamed;
  renamed.Assign(words);
  bool changed = false;
  for (int i = 0; i < renamed.Count(); ++i) {
    int code = -1;
    if (!host::TryStrToInt(host::Trim(renamed.GetWordActType(i)), code) || code != 1 ||
        renamed.GetWordAct(i) != from)
      continue;
    renamed.ChangeWord(i, "", renamed.GetWordActType(i), to);
    changed = true;
  }
  if (changed && apply) words.Assign(renamed);
  return changed;
}

}  // namespace

void Register() {
  // The editors first, the component last.
  const host::TClassInfo* text = &THyperTxt::StaticClassInfo();
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
  ide::RegisterPropertyEditor<TLinesListsProperty>(ide::ClassType<host::TStringList>(), text,
                                                   "LinesLists");
  ide::RegisterPropertyEditor<TWordsProperty>(ide::ClassType<host::TStringList>(), text, "Words");
  ide::RegisterPropertyEditor<TWordsListsProperty>(ide::ClassType<host::TStringList>(), text,
                                                   "WordsLists");
  ide::RegisterFrameRenamer(*text, RenameWordFrames);
  ide::RegisterComponents("Mebrox", {text});
}

}  // namespace mebrox::Htxtreg
