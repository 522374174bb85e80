#pragma once

#include <algorithm>
#include <cstdint>

namespace host {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// A rectangle whose Right and Bottom lie just outside it, as the old framework counts them.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  TRect Intersect(const TRect& r) const {
    return {std::max(Left, r.Left), std::max(Top, r.Top), std::min(Right, r.Right),
            std::min(Bottom, r.Bottom)};
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) {
  return {left, top, right, bottom};
}
inline TRect Bounds(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

// A small set of enumeration values, stored as a bit mask by ordinal as the old sets were.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  static constexpr TSet FromMask(uint32_t mask) {
    TSet s;
    s.FMask = mask;
    return s;
  }
  constexpr uint32_t Mask() const { return FMask; }
  constexpr bool Contains(E v) const { return (FMask & Bit(v)) != 0; }
  constexpr void Include(E v) { FMask |= Bit(v); }
  constexpr void Exclude(E v) { FMask &= ~Bit(v); }
  constexpr bool Empty() const { return FMask == 0; }
  constexpr TSet operator+(TSet o) const { return FromMask(FMask | o.FMask); }
  constexpr TSet operator-(TSet o) const { return FromMask(FMask & ~o.FMask); }
  friend constexpr bool operator==(TSet a, TSet b) { return a.FMask == b.FMask; }

 private:
  static constexpr uint32_t Bit(E v) { return uint32_t{1} << static_cast<unsigned>(v); }
  uint32_t FMask = 0;
};

}  // namespace host
