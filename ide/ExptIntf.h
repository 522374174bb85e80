#pragma once

#include <memory>
#include <string>
#include <utility>

#include "host/Graphics.h"
#include "host/Types.h"

namespace ide {

enum TExpertStyle { esStandard, esForm, esProject, esAddIn };
enum TExpertStateFlag { esEnabled, esChecked };
using TExpertState = host::TSet<TExpertStateFlag>;

// A tool the IDE hosts. A standard expert is a menu entry with its menu text; choosing the entry
// calls Execute.
class TIExpert {
 public:
  virtual ~TIExpert();

  virtual std::string GetName() = 0;
  // Unique among the experts: "Vendor.ExpertName".
  virtual std::string GetIDString() = 0;
  virtual std::string GetComment() = 0;
  // The expert's picture for galleries; null for none.
  virtual std::shared_ptr<const host::TRawImage> GetGlyph() = 0;
  virtual TExpertStyle GetStyle() = 0;
  virtual TExpertState GetState() = 0;
  virtual std::string GetMenuText() = 0;
  virtual void Execute() = 0;
};

// A standard expert with the usual answers: a menu entry named as the expert, no comment, no
// glyph, always enabled. An expert states what differs and what Execute does.
class TStandardExpert : public TIExpert {
 public:
  TStandardExpert(std::string name, std::string idString)
      : FName(std::move(name)), FIDString(std::move(idString)) {}

  std::string GetName() override { return FName; }
  std::string GetIDString() override { return FIDString; }
  std::string GetComment() override { return {}; }
  std::shared_ptr<const host::TRawImage> GetGlyph() override { return nullptr; }
  TExpertStyle GetStyle() override { return esStandard; }
  TExpertState GetState() override { return {esEnabled}; }
  std::string GetMenuText() override { return FName; }

 private:
  std::string FName, FIDString;
};

}  // namespace ide
