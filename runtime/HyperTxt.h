#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/ExtCtrls.h"
#include "runtime/About.h"
#include "runtime/CursorGroup.h"
#include "runtime/DefaultSettings.h"
#include "runtime/Words.h"

namespace mebrox {

using TWordClickEvent = std::function<void(host::TObject* sender, const std::string& wordClicked)>;
using TOverWordEvent = std::function<void(host::TObject* sender, const std::string& wordOver)>;

// Where one hot word (or one line's part of a wrapped one) was drawn, in client pixels.
struct TWordPos {
  int Top = 0;
  int Left = 0;
  int Right = 0;
  int Bottom = 0;
  std::string Word;
  // The slot goes on with the word of the slot before, broken onto this line.
  bool Continued = false;
};

// A page of text whose hot words, drawn in their own font, act when clicked: show a
// description, go to a frame, play a wave, run a program, go back, or switch the text.
class THyperTxt : public host::TPaintBox {
  HOST_PUBLISHED_CLASS
 public:
  // The word-position table holds the first 200 hot words of a page and the last one drawn.
  static constexpr int MaxWordCount = 200;
  // Screen cursors 10 to 15 belong to word action codes 0 to 5.
  static constexpr int FirstCursor = 10;

  explicit THyperTxt(host::TComponent* owner);
  ~THyperTxt() override;

  TAboutMebrox& About() { return FAbout; }
  TAdjustAttrs AutoAdjust() const { return FAutoAdjust; }
  // Choosing the value already set, or any value while aligned, switches adjusting off.
  void SetAutoAdjust(TAdjustAttrs value);
  host::TBrush& Brush() { return FBrush; }
  void SetBrush(const host::TBrush& value);
  host::TStringList& Lines() { return FLines; }
  void SetLines(const host::TStrings& value);
  TLinesLists& LinesLists() { return FLinesLists; }
  void SetLinesLists(const host::TStrings& value);
  int LinesListsIndex() const { return FLinesListsIndex; }
  // Loads the text file of that entry of LinesLists into Lines; the current index, a negative
  // one or one past the list changes nothing.
  void SetLinesListsIndex(int value);
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int value);
  TWords& Words() { return FWords; }
  void SetWords(const host::TStrings& value);
  TWordsLists& WordsLists() { return FWordsLists; }
  void SetWordsLists(const host::TStrings& value);
  int WordsListsIndex() const { return FWordsListsIndex; }
  void SetWordsListsIndex(int value);
  host::TFont& WordFont() { return FWordFont; }
  void SetWordFont(const host::TFont& value);

  TWordClickEvent OnWordClick;
  TOverWordEvent OnOverWord;

  // The layout of the last paint. CodedLines shows each line with its hot words between "<B>"
  // and "</B>"; the marks live beside the text, so nothing the text holds is read as one.
  const host::TStringList& CodedLines() const { return FCodedLines; }
  int WordCount() const { return FWordCount; }
  // The slots the last paint finished, from slot 0: WordCount of them, and the last slot as
  // well once a hot word past the first 200 was drawn into it.
  int SlotCount() const { return FWordCount + (FLastSlotDone ? 1 : 0); }
  const TWordPos& WordPos(int index) const { return FWordPos.at(static_cast<size_t>(index)); }
  // The slot under a client point (strict edges, lowest index first), or -1. Only slots the
  // last paint completed count.
  int HitTest(int x, int y) const;
  // The first entry of Words whose word, without leading spaces, is word; or -1.
  int FindEntry(const std::string& word) const;

  // Each hot word shown is a keyboard stop, in full (a word broken over lines is one stop);
  // Enter or Space on it does what a press on it does.
  int KeyStopCount() const override;
  std::vector<host::TRect> KeyStopRects(int index) const override;
  std::string KeyStopName(int index) const override;
  void KeyStopClick(int index) override;

  // A reader finds the page as a text named by its hint, else by what it says, and each hot
  // word shown (one per keyboard stop) as a link that tells what it does.
  host::TAccessibleInfo AccessibleInfo() const override;
  int AccessibleChildCount() const override { return KeyStopCount(); }
  host::TAccessibleInfo AccessibleChild(int index) const override;

  void GetINISettings();
  // A component dropped from the palette takes its first look from the settings file.
  void DroppedFromPalette() override { GetINISettings(); }
  static TCursorGroup& WordCursors();

 protected:
  void Paint() override;
  void MouseMove(host::TShiftState shift, int x, int y) override;
  void MouseDown(host::TMouseButton button, host::TShiftState shift, int x, int y) override;

  // The layout layers: markup of the whole page, one line, a hot word's opening and closing
  // marks, one piece of a segment, the next line.
  void EncodeText(const host::TStrings& lines, const TWords& words);
  void ParseText(size_t line);
  void OpenWord(const std::string& word);
  void CloseWord();
  void PrintPiece(uint32_t piece);
  void NewLine();

 private:
  struct TPage;

  bool PageCurrent() const;
  void Wrap();
  void BeginSlot(bool continued);
  void EndSlot(int height);
  // The slots of each stop, first and last; only parts with something drawn count.
  std::vector<std::pair<int, int>> StopSlots() const;
  // What a press on the hot word of slot does, at client point (x, y).
  void PressSlot(int slot, int x, int y);
  void PerformWordAction(int code, const std::string& data, int x, int y);
  TWordPos& Slot() { return FWordPos[static_cast<size_t>(FWordCount)]; }

  TAboutMebrox FAbout;
  TAdjustAttrs FAutoAdjust = adNone;
  host::TBrush FBrush;
  host::TStringList FLines;
  TLinesLists FLinesLists;
  int FLinesListsIndex = 0;
  int FTabWidth = 4;
  TWords FWords;
  TWordsLists FWordsLists;
  int FWordsListsIndex = 0;
  host::TFont FWordFont;

  host::TStringList FCodedLines;
  bool FInWord = false;
  // Where lines wrap while painting: the width the control is about to take when it is sized to
  // its text, so that the height it takes is that of the text as it will show.
  int FLayoutWidth = 0;
  host::TFont FSaveFont;
  int FBaseShift = 0;
  int FWordCount = 0;
  // Slot MaxWordCount, which takes every hot word past the first 200, holds a finished one.
  bool FLastSlotDone = false;
  const std::string* FCurrentWord = nullptr;
  std::array<TWordPos, MaxWordCount + 1> FWordPos;
  // The marked-up page and what was measured of it, kept from paint to paint.
  std::unique_ptr<TPage> FPage;
  TCursorGroup::TLease FCursors{WordCursors()};
};

}  // namespace mebrox
