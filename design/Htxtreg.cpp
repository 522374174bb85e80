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
bool RenameWordFrames(host::TComponent& component, const std::string& from, const std::string& to) {
  TWords& words = static_cast<THyperTxt&>(component).Words();
  bool changed = false;
  for (int i = 0; i < words.Count(); ++i) {
    int code = -1;
    if (!host::TryStrToInt(host::Trim(words.GetWordActType(i)), code) || code != 1 ||
        words.GetWordAct(i) != from)
      continue;
    words.ChangeWord(i, "", words.GetWordActType(i), to);
    changed = true;
  }
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
