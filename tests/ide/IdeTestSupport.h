#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/Forms.h"
#include "host/Graphics.h"
#include "host/Strings.h"
#include "ide/DesignCore.h"
#include "ide/PropertyEditor.h"

namespace testing_support {

// Counts what the editors tell the designer.
// Each has a core of its own, with nothing registered until a test registers it there.
class TFakeDesigner : public ide::IDesigner {
 public:
  void Modified() override { ++ModifiedCount; }
  host::TForm* GetRoot() override { return Root; }
  ide::TDesignCore& Core() override { return OwnCore; }
  ide::TDesignRegistry& Registry() { return OwnCore.Registry(); }
  int ModifiedCount = 0;
  host::TForm* Root = nullptr;
  ide::TDesignCore OwnCore;
};

enum TGadgetShape { gsRound, gsSquare, gsStar };
enum TGadgetOption { goLit, goLocked, goHidden };
using TGadgetOptions = host::TSet<TGadgetOption>;

// A component publishing one property of every kind, Area read-only.
class TGadget : public host::TComponent {
  HOST_PUBLISHED_CLASS
 public:
  using host::TComponent::TComponent;
  int Count() const { return FCount; }
  void SetCount(int value) { FCount = value; }
  int Area() const { return 7; }
  bool Lit() const { return FLit; }
  void SetLit(bool value) { FLit = value; }
  TGadgetShape Shape() const { return FShape; }
  void SetShape(TGadgetShape value) { FShape = value; }
  TGadgetOptions Options() const { return FOptions; }
  void SetOptions(TGadgetOptions value) { FOptions = value; }
  host::TColor Color() const { return FColor; }
  void SetColor(host::TColor value) { FColor = value; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }
  host::TStringList& Lines() { return FLines; }
  void SetLines(const host::TStrings& value) { FLines.Assign(value); }
  const std::string& Data() const { return FData; }
  void SetData(const std::string& value) { FData = value; }
  host::TFont& Font() { return FFont; }
  void SetFont(const host::TFont& value) { FFont.Assign(value); }

 private:
  int FCount = 0;
  bool FLit = true;
  TGadgetShape FShape = gsRound;
  TGadgetOptions FOptions;
  host::TColor FColor = host::clBlack;
  std::string FCaption;
  host::TStringList FLines;
  std::string FData;
  host::TFont FFont;
};

class TBigGadget : public TGadget {
  HOST_PUBLISHED_CLASS
 public:
  using TGadget::TGadget;
};

// Another class publishing Caption and Font, declared in a different order than TGadget's.
class TOtherGadget : public host::TComponent {
  HOST_PUBLISHED_CLASS
 public:
  using host::TComponent::TComponent;
  host::TFont& Font() { return FFont; }
  void SetFont(const host::TFont& value) { FFont.Assign(value); }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value) { FCaption = value; }

 private:
  host::TFont FFont;
  std::string FCaption;
};

// An editor that shows its tag as value, so that a test sees which registration made it. It
// counts the live tagged editors.
class TTaggedEditor : public ide::TPropertyEditor {
 public:
  TTaggedEditor(ide::IDesigner& designer, std::vector<host::TPersistent*> instances,
                const host::TPropInfo& propInfo, std::string tag)
      : TPropertyEditor(designer, std::move(instances), propInfo), FTag(std::move(tag)) {
    ++Alive;
  }
  ~TTaggedEditor() override { --Alive; }
  std::string GetValue() const override { return FTag; }
  static inline int Alive = 0;

 private:
  std::string FTag;
};

ide::TPropertyEditorFactory Tagged(const std::string& tag);

// The editor the registry gives the named property of an object.
std::unique_ptr<ide::TPropertyEditor> EditorFor(ide::IDesigner& designer, host::TPersistent& object,
                                                const std::string& property);

}  // namespace testing_support
