#pragma once

#include <memory>
#include <string>

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

}  // namespace ide
