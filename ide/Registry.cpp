#include "ide/Registry.h"

#include <algorithm>
#include <tuple>

#include "host/SysUtils.h"
#include "ide/DefaultEditors.h"
#include "ide/DesignCore.h"

namespace ide {

using host::TClassInfo;

struct TDesignRegistry::TPage {
  std::string Name;
  std::vector<const TClassInfo*> Classes;
};

struct TDesignRegistry::TPropertyEditorEntry {
  TPropertyType Type;
  const TClassInfo* ComponentClass;
  std::string PropertyName;
  TPropertyEditorFactory Factory;

  bool SameKey(const TPropertyEditorEntry& other) const {
    return Type == other.Type && ComponentClass == other.ComponentClass &&
           host::SameText(PropertyName, other.PropertyName);
  }
};

struct TDesignRegistry::TComponentEditorEntry {
  const TClassInfo* ComponentClass;
  TComponentEditorFactory Factory;
};

TDesignRegistry::TDesignRegistry() = default;
TDesignRegistry::~TDesignRegistry() = default;

void TDesignRegistry::RegisterComponents(const std::string& page,
                                         const std::vector<const TClassInfo*>& classes) {
  auto it =
      std::find_if(FPages.begin(), FPages.end(), [&](const TPage& p) { return p.Name == page; });
  if (it == FPages.end()) it = FPages.insert(FPages.end(), TPage{page, {}});
  for (const TClassInfo* cls : classes)
    if (cls && std::find(it->Classes.begin(), it->Classes.end(), cls) == it->Classes.end())
      it->Classes.push_back(cls);
}

void TDesignRegistry::RegisterComponentEditor(const TClassInfo& componentClass,
                                              TComponentEditorFactory factory) {
  std::erase_if(FComponentEditors, [&](const TComponentEditorEntry& e) {
    return e.ComponentClass == &componentClass;
  });
  FComponentEditors.push_back({&componentClass, std::move(factory)});
}

void TDesignRegistry::RegisterPropertyEditor(const TPropertyType& propertyType,
                                             const TClassInfo* componentClass,
                                             const std::string& propertyName,
                                             TPropertyEditorFactory factory) {
  TPropertyEditorEntry entry{propertyType, componentClass, propertyName, std::move(factory)};
  std::erase_if(FPropertyEditors, [&](const TPropertyEditorEntry& e) { return e.SameKey(entry); });
  FPropertyEditors.push_back(std::move(entry));
}

void TDesignRegistry::RegisterLibraryExpert(std::unique_ptr<TIExpert> expert) {
  if (expert) FExperts.push_back(std::move(expert));
}

void TDesignRegistry::RegisterFrameRenamer(const TClassInfo& componentClass,
                                           TFrameRenamer renamer) {
  FFrameRenamers.emplace_back(&componentClass, std::move(renamer));
}

bool TDesignRegistry::RenameFrameReferences(host::TComponent& component, const std::string& oldName,
                                            const std::string& newName, bool apply) const {
  bool changed = false;
  for (const auto& [cls, renamer] : FFrameRenamers)
    if (component.ClassInfo().InheritsFrom(*cls))
      changed = renamer(component, oldName, newName, apply) || changed;
  return changed;
}

void TDesignRegistry::RegisterFileLister(TFileLister lister) {
  FFileListers.push_back(std::move(lister));
}

std::vector<std::string> TDesignRegistry::FilesNamedBy(host::TComponent& component) const {
  std::vector<std::string> files;
  for (const TFileLister& lister : FFileListers)
    for (std::string& file : lister(component)) files.push_back(std::move(file));
  return files;
}

void TDesignRegistry::RegisterFileDropper(const TClassInfo& componentClass, TFileDropper dropper) {
  std::erase_if(FFileDroppers, [&](const auto& entry) { return entry.first == &componentClass; });
  FFileDroppers.emplace_back(&componentClass, std::move(dropper));
}

const TFileDropper* TDesignRegistry::FindFileDropper(const TClassInfo& componentClass) const {
  for (const TClassInfo* cls = &componentClass; cls; cls = cls->Parent())
    for (const auto& [registered, dropper] : FFileDroppers)
      if (registered == cls) return &dropper;
  return nullptr;
}

std::vector<std::string> TDesignRegistry::PalettePages() const {
  std::vector<std::string> names;
  for (const TPage& page : FPages) names.push_back(page.Name);
  return names;
}

std::vector<const TClassInfo*> TDesignRegistry::PaletteClasses(const std::string& page) const {
  for (const TPage& p : FPages)
    if (p.Name == page) return p.Classes;
  return {};
}

const TPropertyEditorFactory* TDesignRegistry::FindPropertyEditor(
    const TClassInfo& componentClass, const host::TPropInfo& propInfo) const {
  const TPropertyEditorEntry* best = nullptr;
  std::tuple<bool, int, int> bestRank;
  for (const TPropertyEditorEntry& e : FPropertyEditors) {
    if (!e.Type.Matches(propInfo)) continue;
    if (!e.PropertyName.empty() && !host::SameText(e.PropertyName, propInfo.Name)) continue;
    if (e.ComponentClass && !componentClass.InheritsFrom(*e.ComponentClass)) continue;
    std::tuple<bool, int, int> rank{!e.PropertyName.empty(), ClassDepth(e.ComponentClass),
                                    e.Type.Depth()};
    // Registrations are in order, so ">=" lets the later of equals win.
    if (!best || rank >= bestRank) {
      best = &e;
      bestRank = rank;
    }
  }
  return best ? &best->Factory : nullptr;
}

const TComponentEditorFactory* TDesignRegistry::FindComponentEditor(
    const TClassInfo& componentClass) const {
  for (const TClassInfo* cls = &componentClass; cls; cls = cls->Parent())
    for (const TComponentEditorEntry& e : FComponentEditors)
      if (e.ComponentClass == cls) return &e.Factory;
  return nullptr;
}

std::vector<TIExpert*> TDesignRegistry::Experts() const {
  std::vector<TIExpert*> experts;
  for (const auto& e : FExperts) experts.push_back(e.get());
  return experts;
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner& designer,
                                                      std::vector<host::TPersistent*> instances,
                                                      const host::TPropInfo& propInfo) {
  if (instances.empty() || !instances.front())
    throw host::EInvalidOperation("Property " + propInfo.Name + " has no object to edit");
  const TPropertyEditorFactory* factory =
      designer.Core().Registry().FindPropertyEditor(instances.front()->ClassInfo(), propInfo);
  if (factory) return (*factory)(designer, std::move(instances), propInfo);
  return CreateDefaultPropertyEditor(designer, std::move(instances), propInfo);
}

std::unique_ptr<TComponentEditor> CreateComponentEditor(host::TComponent& component,
                                                        IDesigner& designer) {
  const TComponentEditorFactory* factory =
      designer.Core().Registry().FindComponentEditor(component.ClassInfo());
  if (factory) return (*factory)(component, designer);
  return std::make_unique<TDefaultEditor>(component, designer);
}

}  // namespace ide
