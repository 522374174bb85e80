#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ide/ClassProperty.h"
#include "ide/PropertyEditor.h"

namespace ide {

// The editors a property gets when none is registered for it, one per kind of value.

class TIntegerProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
};

// An identifier from the property's names; the names are its value list.
class TEnumProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  void GetValues(const TGetStrProc& proc) const override;

 protected:
  virtual const std::vector<std::string>& Names() const;
};

class TBoolProperty : public TEnumProperty {
 public:
  using TEnumProperty::TEnumProperty;

 protected:
  const std::vector<std::string>& Names() const override;
};

// "[fsBold,fsItalic]"; each member is a sub-property that shows True or False.
class TSetProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  void GetProperties(const TGetPropEditProc& proc) const override;
};

// One member of a set: True sets its bit in every selected object's own set.
class TSetElementProperty : public TPropertyEditor {
 public:
  TSetElementProperty(IDesigner& designer, std::vector<host::TPersistent*> instances,
                      const host::TPropInfo& propInfo, int element);
  TPropertyAttributes GetAttributes() const override;
  std::string GetName() const override;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  void GetValues(const TGetStrProc& proc) const override;

 private:
  int FElement;
};

// As the form files write colours: a name (clRed) or "$" and eight hexadecimal digits. Edit
// opens the colour dialog at the current colour.
class TColorProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  void Edit() override;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  void GetValues(const TGetStrProc& proc) const override;
};

class TStringProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
};

// A reference to another component of the form: shown and typed as its name; the form's
// components of the right class are the value list. An empty value clears it.
class TComponentProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
  void SetValue(const std::string& value) override;
  void GetValues(const TGetStrProc& proc) const override;

 private:
  // The form the referenced components belong to.
  host::TComponent* Root() const;
};

// A string list shows its class, "(TStrings)"; its lines are edited by a dialog of its own.
class TStringListProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
  // The string list editor; OK with other lines gives them to every selected object.
  void Edit() override;
};

class TBinaryProperty : public TPropertyEditor {
 public:
  using TPropertyEditor::TPropertyEditor;
  TPropertyAttributes GetAttributes() const override;
  std::string GetValue() const override;
};

// A font: its parts as sub-properties, and the font dialog, started at the first object's font,
// whose choice every selected object takes.
class TFontProperty : public TClassProperty {
 public:
  using TClassProperty::TClassProperty;
  TPropertyAttributes GetAttributes() const override;
  void Edit() override;
};

// The editor for the property's kind; a font gets TFontProperty, a picture TPictureProperty.
std::unique_ptr<TPropertyEditor> CreateDefaultPropertyEditor(
    IDesigner& designer, std::vector<host::TPersistent*> instances,
    const host::TPropInfo& propInfo);

}  // namespace ide
