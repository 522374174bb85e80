#include "ide/DesignHistory.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace ide {

namespace {

// Lines with their line ends, so that joining them gives the text back byte for byte.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    end = end == std::string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return lines;
}

// Beyond this many lines added and taken out, a change is kept as one run.
constexpr int MaxEdits = 1000;

// The matching lines of a and b (pairs of indexes, in order), by Myers' shortest edit script;
// false when it would take more than MaxEdits edits.
bool MatchLines(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b,
                std::vector<std::pair<size_t, size_t>>& matches) {
  const int n = static_cast<int>(a.size()), m = static_cast<int>(b.size());
  const int limit = std::min(n + m, MaxEdits);
  const int offset = limit + 1;
  std::vector<int> v(static_cast<size_t>(2 * limit + 3), 0);
  std::vector<std::vector<int>> trace;
  int found = -1;
  for (int d = 0; d <= limit && found < 0; ++d) {
    trace.push_back(v);
    for (int k = -d; k <= d; k += 2) {
      int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                  ? v[offset + k + 1]
                  : v[offset + k - 1] + 1;
      int y = x - k;
      while (x < n && y < m && a[static_cast<size_t>(x)] == b[static_cast<size_t>(y)]) ++x, ++y;
      v[offset + k] = x;
      if (x >= n && y >= m) {
        found = d;
        break;
      }
    }
  }
  if (found < 0) return false;
  // Walk back through the furthest points of each round, taking the diagonals as matches.
  int x = n, y = m;
  for (int d = found; d > 0; --d) {
    const std::vector<int>& prev = trace[static_cast<size_t>(d)];
    int k = x - y;
    int prevK =
        (k == -d || (k != d && prev[offset + k - 1] < prev[offset + k + 1])) ? k + 1 : k - 1;
    int prevX = prev[offset + prevK], prevY = prevX - prevK;
    while (x > prevX && y > prevY)
      matches.emplace_back(static_cast<size_t>(--x), static_cast<size_t>(--y));
    x = prevX;
    y = prevY;
  }
  while (x > 0 && y > 0) matches.emplace_back(static_cast<size_t>(--x), static_cast<size_t>(--y));
  std::reverse(matches.begin(), matches.end());
  return true;
}

std::vector<std::string> Copy(const std::vector<std::string_view>& lines, size_t from, size_t to) {
  return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from),
                                  lines.begin() + static_cast<std::ptrdiff_t>(to));
}

}  // namespace

TTextPatch TTextPatch::Between(std::string_view from, std::string_view to) {
  TTextPatch patch;
  std::vector<std::string_view> a = SplitLines(from), b = SplitLines(to);
  size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
    ++tail;
  std::vector<std::string_view> midA(a.begin() + static_cast<std::ptrdiff_t>(head),
                                     a.end() - static_cast<std::ptrdiff_t>(tail));
  std::vector<std::string_view> midB(b.begin() + static_cast<std::ptrdiff_t>(head),
                                     b.end() - static_cast<std::ptrdiff_t>(tail));
  if (midA.empty() && midB.empty()) return patch;

  std::vector<std::pair<size_t, size_t>> matches;
  if (!MatchLines(midA, midB, matches)) {
    patch.FRuns.push_back({head, Copy(midA, 0, midA.size()), Copy(midB, 0, midB.size())});
    return patch;
  }
  // Between two matches (and before the first, after the last) lies a run.
  size_t ia = 0, ib = 0;
  matches.emplace_back(midA.size(), midB.size());
  for (const auto& [ma, mb] : matches) {
    if (ma > ia || mb > ib)
      patch.FRuns.push_back({head + ia, Copy(midA, ia, ma), Copy(midB, ib, mb)});
    ia = ma + 1;
    ib = mb + 1;
  }
  return patch;
}

std::string TTextPatch::Patched(std::string_view text, const std::vector<TRun>& runs,
                                bool forward) {
  std::vector<std::string_view> lines = SplitLines(text);
  std::string out;
  out.reserve(text.size());
  size_t line = 0;
  // Going back, runs start where the patched text has them: shifted by what earlier runs did.
  std::ptrdiff_t shift = 0;
  for (const TRun& run : runs) {
    const std::vector<std::string>& gone = forward ? run.Out : run.In;
    const std::vector<std::string>& come = forward ? run.In : run.Out;
    size_t start =
        forward ? run.Start : static_cast<size_t>(static_cast<std::ptrdiff_t>(run.Start) + shift);
    for (; line < start && line < lines.size(); ++line) out.append(lines[line]);
    line += gone.size();
    for (const std::string& l : come) out += l;
    shift +=
        static_cast<std::ptrdiff_t>(run.In.size()) - static_cast<std::ptrdiff_t>(run.Out.size());
  }
  for (; line < lines.size(); ++line) out.append(lines[line]);
  return out;
}

std::string TTextPatch::Apply(std::string_view from) const {
  return Patched(from, FRuns, true);
}

std::string TTextPatch::Revert(std::string_view to) const {
  return Patched(to, FRuns, false);
}

size_t TTextPatch::Size() const {
  size_t size = 0;
  for (const TRun& run : FRuns) {
    size += sizeof(TRun);
    for (const std::string& l : run.Out) size += l.size();
    for (const std::string& l : run.In) size += l.size();
  }
  return size;
}

// ---- TDesignHistory

uint64_t NextStepSequence() {
  static uint64_t last = 0;
  return ++last;
}

void TDesignHistory::Record(std::string name, std::string mergeKey, const std::string& before,
                            const std::string& after, uint64_t group) {
  if (before == after) return;
  FUndone.clear();
  // Below the saved point, a new step makes the saved text unreachable by undo and redo.
  if (FClean > FDone.size()) FClean = SIZE_MAX;
  // Within a group, every change to the form is one step; outside, those of one key in a row.
  const bool merges =
      !FDone.empty() && FDone.back().Group == group &&
      (group != 0 || (FMergeable && !mergeKey.empty() && FDone.back().MergeKey == mergeKey));
  if (merges && FClean != FDone.size()) {
    TDesignStep& last = FDone.back();
    last.Patch = TTextPatch::Between(last.Patch.Revert(before), after);
    last.Name = std::move(name);
    last.Sequence = NextStepSequence();
    if (last.Patch.Empty()) FDone.pop_back();
    return;
  }
  FDone.push_back({std::move(name), NextStepSequence(), std::move(mergeKey), group,
                   TTextPatch::Between(before, after)});
  FMergeable = true;
}

const std::string& TDesignHistory::UndoName() const {
  static const std::string none;
  return FDone.empty() ? none : FDone.back().Name;
}

const std::string& TDesignHistory::RedoName() const {
  static const std::string none;
  return FUndone.empty() ? none : FUndone.back().Name;
}

std::string TDesignHistory::Undo(const std::string& after) {
  TDesignStep step = std::move(FDone.back());
  FDone.pop_back();
  std::string before = step.Patch.Revert(after);
  FUndone.push_back(std::move(step));
  FMergeable = false;
  return before;
}

std::string TDesignHistory::Redo(const std::string& before) {
  TDesignStep step = std::move(FUndone.back());
  FUndone.pop_back();
  std::string after = step.Patch.Apply(before);
  FDone.push_back(std::move(step));
  FMergeable = false;
  return after;
}

size_t TDesignHistory::Size() const {
  size_t size = 0;
  for (const auto* steps : {&FDone, &FUndone})
    for (const TDesignStep& step : *steps)
      size += step.Name.size() + step.MergeKey.size() + step.Patch.Size();
  return size;
}

}  // namespace ide
