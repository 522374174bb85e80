#include "design/Htxtreg.h"

#include "design/Aboutpt.h"
#include "design/Lnslst.h"
#include "design/Wrddef.h"
#include "design/Wrdlst.h"
#include "host/SysUtils.h"
#include "ide/DesignCore.h"
#include "runtime/HyperTxt.h"

namespace mebrox::Htxtreg {

namespace {

// Hot words that go to a renamed frame (code 1, the frame's name as their data) follow it.
bool GoesTo(const TWords& words, int index, const std::string& frame) {
  int code = -1;
  return host::TryStrToInt(host::Trim(words.GetWordActType(index)), code) && code == 1 &&
         words.GetWordAct(index) == frame;
}

// The entries change on a copy first: an entry that cannot hold the new name leaves them all.
// A word-list file the text switches to that names the frame is the designer's to change: the
// rename is refused rather than leave a hot word going nowhere.
bool RenameWordFrames(host::TComponent& component, const std::string& from, const std::string& to,
                      bool apply) {
  auto& text = static_cast<THyperTxt&>(component);
  for (int i = 0; i < text.WordsLists().Count(); ++i) {
    std::string file = text.WordsLists().Get(i);
    if (!host::FileExists(file)) continue;
    TWords listed;
    try {
      listed.LoadListFromFile(file);
    } catch (const host::Exception&) {
      continue;
    }
    for (int w = 0; w < listed.Count(); ++w)
      if (GoesTo(listed, w, from))
        throw host::EComponentError("the word list " + file + " of " + component.Name() +
                                    " sends \"" + listed.GetWord(w) +
                                    "\" there; change it there "
                                    "first");
  }
  TWords& words = text.Words();
  TWords renamed;
  renamed.Assign(words);
  bool changed = false;
  for (int i = 0; i < renamed.Count(); ++i) {
    if (!GoesTo(renamed, i, from)) continue;
    renamed.ChangeWord(i, "", renamed.GetWordActType(i), to);
    changed = true;
  }
  if (changed && apply) words.Assign(renamed);
  return changed;
}

}  // namespace

void Register(ide::TDesignCore& core) {
  ide::TDesignRegistry& registry = core.Registry();
  // The editors first, the component last.
  const host::TClassInfo* text = &THyperTxt::StaticClassInfo();
  registry.RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
  registry.RegisterPropertyEditor<TLinesListsProperty>(ide::ClassType<host::TStringList>(), text,
                                                       "LinesLists");
  registry.RegisterPropertyEditor<TWordsProperty>(ide::ClassType<host::TStringList>(), text,
                                                  "Words");
  registry.RegisterPropertyEditor<TWordsListsProperty>(ide::ClassType<host::TStringList>(), text,
                                                       "WordsLists");
  registry.RegisterFrameRenamer(*text, RenameWordFrames);
  registry.RegisterComponents("Mebrox", {text});
}

}  // namespace mebrox::Htxtreg
