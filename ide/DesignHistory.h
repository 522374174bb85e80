#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ide {

// A number for a step just taken: higher than any before it in this process.
uint64_t NextStepSequence();

// What turns one text into another, line by line: the runs of lines replaced, each with the
// lines it took out and the lines it put in, so that it turns the second text back as well.
// A change to a form touches a few lines of its text; its patch holds just those.
class TTextPatch {
 public:
  // The patch that turns from into to. Texts are compared line by line; a change spread too
  // widely to be worth finding exactly is kept as one run from its first changed line to its
  // last.
  static TTextPatch Between(std::string_view from, std::string_view to);

  // Turns the patch's "from" text into its "to" text, or back.
  std::string Apply(std::string_view from) const;
  std::string Revert(std::string_view to) const;
  bool Empty() const { return FRuns.empty(); }
  // Bytes the patch holds.
  size_t Size() const;

 private:
  struct TRun {
    size_t Start;  // first line replaced, counted in the "from" text
    std::vector<std::string> Out, In;
  };
  static std::string Patched(std::string_view text, const std::vector<TRun>& runs, bool forward);

  std::vector<TRun> FRuns;
};

// One step a designer took on a form, named for the Edit menu ("Move HyperTxt1"), holding only
// the lines of the form's text it changed.
struct TDesignStep {
  std::string Name;
  // When it was taken, among all steps of the process: the later, the higher.
  uint64_t Sequence = 0;
  // Steps with the same key, one right after another, are one step (key moves, edits of one
  // property); empty: never merged.
  std::string MergeKey;
  // The changes made together with others, on other forms or the project (a new frame and the
  // action that goes to it), share a group and are undone together; 0: none.
  uint64_t Group = 0;
  TTextPatch Patch;  // from the text before the step to the text after it
};

// The steps taken on a form, those taken back, and the point where its text is the saved one.
class TDesignHistory {
 public:
  // A step from before to after: merged into the last one when their keys agree and nothing was
  // taken back, saved or stepped over since; a step that changes nothing is no step.
  void Record(std::string name, std::string mergeKey, const std::string& before,
              const std::string& after, uint64_t group = 0);
  bool CanUndo() const { return !FDone.empty(); }
  // How many steps undo can take back.
  size_t Steps() const { return FDone.size(); }
  // When the step undo or redo would take was taken; 0 when there is none.
  uint64_t UndoSequence() const { return FDone.empty() ? 0 : FDone.back().Sequence; }
  uint64_t RedoSequence() const { return FUndone.empty() ? 0 : FUndone.back().Sequence; }
  uint64_t UndoGroup() const { return FDone.empty() ? 0 : FDone.back().Group; }
  uint64_t RedoGroup() const { return FUndone.empty() ? 0 : FUndone.back().Group; }
  bool CanRedo() const { return !FUndone.empty(); }
  const std::string& UndoName() const;
  const std::string& RedoName() const;
  // The text before the last step, given the text after it; the step moves to the redo side.
  std::string Undo(const std::string& after);
  // The text after the last step taken back, given the text before it.
  std::string Redo(const std::string& before);
  // Marks where the text is the saved one; no later step merges into an earlier one.
  void MarkClean() { FClean = FDone.size(); }
  // Whether the steps taken since the saved point cancel out, as far as this history knows.
  bool AtCleanPoint() const { return FClean == FDone.size(); }
  // Bytes the steps hold.
  size_t Size() const;

 private:
  std::vector<TDesignStep> FDone, FUndone;
  size_t FClean = 0;
  bool FMergeable = false;
};

}  // namespace ide
