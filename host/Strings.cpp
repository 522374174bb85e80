#include "host/Strings.h"

namespace host {

const TClassInfo& TStrings::StaticClassInfo() {
  static TClassInfo info("TStrings", &TPersistent::StaticClassInfo());
  return info;
}

const TClassInfo& TStringList::StaticClassInfo() {
  static TClassInfo info("TStringList", &TStrings::StaticClassInfo());
  return info;
}

void TStrings::Error(const std::string& message, int index) const {
  throw EListError(message + " (" + IntToStr(index) + ")");
}

int TStrings::Add(const std::string& s) {
  int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
  BeginUpdate();
  int index = -1;
  try {
    index = Add(s);
    PutObject(index, object);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < strings.Count(); ++i) {
      int index = Add(strings.Get(i));
      if (TObject* object = strings.Objects(i)) PutObject(index, object);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Get(i), s)) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string out;
  for (int i = 0; i < Count(); ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) {
        Add(std::string(text.substr(start)));
        break;
      }
      Add(std::string(text.substr(start, end - start)));
      start = end + 1;
      if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::LoadFromFile(const std::string& fileName) {
  SetText(ReadFileBytes(fileName));
}

void TStrings::SaveToFile(const std::string& fileName) const {
  WriteFileAtomically(fileName, Text());
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* strings = dynamic_cast<const TStrings*>(&source)) {
    if (strings == this) return;
    BeginUpdate();
    try {
      Clear();
      AddStrings(*strings);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

TStringList::TStringList(std::initializer_list<std::string> lines)
    : FList(lines), FObjects(lines.size(), nullptr) {}

void TStringList::CheckIndex(int index, bool allowEnd) const {
  int limit = Count() + (allowEnd ? 1 : 0);
  if (index < 0 || index >= limit) Error("List index out of bounds", index);
}

std::string TStringList::Get(int index) const {
  CheckIndex(index, false);
  return FList[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const std::string& s) {
  CheckIndex(index, false);
  NotifyChanging();
  FList[static_cast<size_t>(index)] = s;
  NotifyChanged();
}

void TStringList::Insert(int index, const std::string& s) {
  CheckIndex(index, true);
  NotifyChanging();
  FList.insert(FList.begin() + index, s);
  FObjects.insert(FObjects.begin() + index, nullptr);
  NotifyChanged();
}

void TStringList::Delete(int index) {
  CheckIndex(index, false);
  NotifyChanging();
  FList.erase(FList.begin() + index);
  FObjects.erase(FObjects.begin() + index);
  NotifyChanged();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  NotifyChanging();
  FList.clear();
  FObjects.clear();
  NotifyChanged();
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index, false);
  return FObjects[static_cast<size_t>(index)];
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index, false);
  NotifyChanging();
  FObjects[static_cast<size_t>(index)] = object;
  NotifyChanged();
}

void TStringList::Changed() {
  if (OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (OnChanging) OnChanging(this);
}

void TStringList::NotifyChanged() {
  if (UpdateCount() == 0) Changed();
}

void TStringList::NotifyChanging() {
  if (UpdateCount() == 0) Changing();
}

void TStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

}  // namespace host
