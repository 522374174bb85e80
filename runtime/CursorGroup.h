#pragma once

#include <initializer_list>
#include <vector>

namespace mebrox {

// Screen cursor slots that every component of a kind installs and all of them share. A
// component holds a lease for its life: each new lease reloads the slots, and the images leave
// the cursor table with the group's last lease. Being a member, a lease is given back even when
// the component's constructor fails after taking it.
class TCursorGroup {
 public:
  struct TSlot {
    int Number;
    const char* Resource;  // a cursor the kit has no drawing for empties its slot
  };

  explicit TCursorGroup(std::initializer_list<TSlot> slots) : FSlots(slots) {}
  int Users() const { return FUsers; }

  class TLease {
   public:
    // Installs the group's slots but those numbered in skip.
    explicit TLease(TCursorGroup& group, std::initializer_list<int> skip = {});
    ~TLease();
    TLease(const TLease&) = delete;
    TLease& operator=(const TLease&) = delete;

   private:
    TCursorGroup& FGroup;
  };

 private:
  std::vector<TSlot> FSlots;
  int FUsers = 0;
};

}  // namespace mebrox
