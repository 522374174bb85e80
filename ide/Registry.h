#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Classes.h"
#include "ide/ComponentEditor.h"
#include "ide/DesignIntf.h"
#include "ide/ExptIntf.h"
#include "ide/PropertyEditor.h"

namespace ide {

using TPropertyEditorFactory = std::function<std::unique_ptr<TPropertyEditor>(
    IDesigner& designer, std::vector<host::TPersistent*> instances,
    const host::TPropInfo& propInfo)>;
using TComponentEditorFactory = std::function<std::unique_ptr<TComponentEditor>(
    host::TComponent& component, IDesigner& designer)>;
// Renames what a component says about a frame (an action or a hot word that goes to it) when the
// frame is renamed; true when it changes anything. Without apply it only finds that out. What it
// holds that cannot take the new name fails (an exception), and then nothing has changed.
using TFrameRenamer = std::function<bool(host::TComponent& component, const std::string& oldName,
                                         const std::string& newName, bool apply)>;
// Takes files dropped from the desktop on a designed component (a picture, a wave), for the
// designer of its form. A file it cannot take fails (an exception naming it), and then nothing
// has changed.
using TFileDropper = std::function<void(IDesigner& designer, host::TComponent& component,
                                        const std::vector<std::string>& files)>;
// The files a component names, as the run looks for them from the project folder ("chime.wav",
// "media/chime.wav", "/home/ann/run.sh"), so that a copy of the project takes them along.
using TFileLister = std::function<std::vector<std::string>(host::TComponent& component)>;

// What the packages registered with the IDE: palette pages, property and component editors,
// experts. The designer asks it which editor serves what. Each design core has its own.
class TDesignRegistry {
 public:
  TDesignRegistry();
  ~TDesignRegistry();
  TDesignRegistry(const TDesignRegistry&) = delete;
  TDesignRegistry& operator=(const TDesignRegistry&) = delete;

  // Pages and their classes keep the order of first registration.
  void RegisterComponents(const std::string& page,
                          const std::vector<const host::TClassInfo*>& classes);
  void RegisterComponentEditor(const host::TClassInfo& componentClass,
                               TComponentEditorFactory factory);
  // componentClass null: for any class; propertyName empty: for any property of the type.
  void RegisterPropertyEditor(const TPropertyType& propertyType,
                              const host::TClassInfo* componentClass,
                              const std::string& propertyName, TPropertyEditorFactory factory);
  // The editor class E for the components of the class (or the property).
  template <class E>
  void RegisterComponentEditor(const host::TClassInfo& componentClass) {
    RegisterComponentEditor(componentClass, [](host::TComponent& component, IDesigner& designer) {
      return std::unique_ptr<TComponentEditor>(std::make_unique<E>(component, designer));
    });
  }
  template <class E>
  void RegisterPropertyEditor(const TPropertyType& propertyType,
                              const host::TClassInfo* componentClass,
                              const std::string& propertyName) {
    RegisterPropertyEditor(propertyType, componentClass, propertyName, MakePropertyEditor<E>);
  }
  void RegisterLibraryExpert(std::unique_ptr<TIExpert> expert);
  // For components of the class and its descendants.
  void RegisterFrameRenamer(const host::TClassInfo& componentClass, TFrameRenamer renamer);
  // For components of the class and its descendants; a later one for the same class replaces it.
  void RegisterFileDropper(const host::TClassInfo& componentClass, TFileDropper dropper);
  void RegisterFileLister(TFileLister lister);

  std::vector<std::string> PalettePages() const;
  // Empty for a page nobody registered.
  std::vector<const host::TClassInfo*> PaletteClasses(const std::string& page) const;
  // The most specific registration for the property of a component of that class; null when
  // none applies. Specific is: naming the property, then a nearer component class, then a
  // nearer property class; among equals the later registration.
  const TPropertyEditorFactory* FindPropertyEditor(const host::TClassInfo& componentClass,
                                                   const host::TPropInfo& propInfo) const;
  // The registration for the class or its nearest registered ancestor; null when none.
  const TComponentEditorFactory* FindComponentEditor(const host::TClassInfo& componentClass) const;
  // In registration order.
  std::vector<TIExpert*> Experts() const;
  // Every renamer that serves the component's class runs; true when one changes something.
  bool RenameFrameReferences(host::TComponent& component, const std::string& oldName,
                             const std::string& newName, bool apply) const;
  // The dropper of the class or its nearest registered ancestor; null when it takes no files.
  const TFileDropper* FindFileDropper(const host::TClassInfo& componentClass) const;
  // What every lister finds the component names.
  std::vector<std::string> FilesNamedBy(host::TComponent& component) const;

 private:
  struct TPage;
  struct TPropertyEditorEntry;
  struct TComponentEditorEntry;
  std::vector<TPage> FPages;
  std::vector<TPropertyEditorEntry> FPropertyEditors;
  std::vector<TComponentEditorEntry> FComponentEditors;
  std::vector<std::unique_ptr<TIExpert>> FExperts;
  std::vector<std::pair<const host::TClassInfo*, TFrameRenamer>> FFrameRenamers;
  std::vector<std::pair<const host::TClassInfo*, TFileDropper>> FFileDroppers;
  std::vector<TFileLister> FFileListers;
};

// The editor for a property of the objects: the one registered with the designer's core that
// fits best, else the default for the property's kind. Registrations are matched against the
// first object's class.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner& designer,
                                                      std::vector<host::TPersistent*> instances,
                                                      const host::TPropInfo& propInfo);
// The editor registered with the designer's core for the component's class or nearest ancestor,
// else a TDefaultEditor.
std::unique_ptr<TComponentEditor> CreateComponentEditor(host::TComponent& component,
                                                        IDesigner& designer);

}  // namespace ide
