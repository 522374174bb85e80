#include "design/Htxtreg.h"

#include "design/Aboutpt.h"
#include "design/Lnslst.h"
#include "design/Wrddef.h"
#include "design/Wrdlst.h"
#include "ide/Registry.h"
#include "runtime/HyperTxt.h"

namespace mebrox::Htxtreg {

void Register() {
  // The editors first, the component last.
  const host::TClassInfo* text = &THyperTxt::StaticClassInfo();
  ide::RegisterPropertyEditor<TAboutProperty>(ide::ClassType<TAboutMebrox>(), nullptr, "About");
  ide::RegisterPropertyEditor<TLinesListsProperty>(ide::ClassType<host::TStringList>(), text,
                                                   "LinesLists");
  ide::RegisterPropertyEditor<TWordsProperty>(ide::ClassType<host::TStringList>(), text, "Words");
  ide::RegisterPropertyEditor<TWordsListsProperty>(ide::ClassType<host::TStringList>(), text,
                                                   "WordsLists");
  ide::RegisterComponents("Mebrox", {text});
}

}  // namespace mebrox::Htxtreg
