#include "runtime/CursorGroup.h"

#include <algorithm>

#include "host/Forms.h"
#include "host/Resources.h"

namespace mebrox {

TCursorGroup::TLease::TLease(TCursorGroup& group, std::initializer_list<int> skip) : FGroup(group) {
  ++FGroup.FUsers;
  for (const TSlot& slot : FGroup.FSlots)
    if (std::find(skip.begin(), skip.end(), slot.Number) == skip.end())
      host::Screen->SetCursors(slot.Number, host::LoadCursorResource(slot.Resource));
}

TCursorGroup::TLease::~TLease() {
  if (--FGroup.FUsers > 0) return;
  for (const TSlot& slot : FGroup.FSlots) host::Screen->SetCursors(slot.Number, nullptr);
}

}  // namespace mebrox
