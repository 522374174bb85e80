#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/Classes.h"

namespace host {

// An ordered list of strings. Lookups by IndexOf ignore letter case (ASCII).
class TStrings : public TPersistent {
  HOST_PUBLISHED_CLASS
 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& s) = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  std::string operator[](int index) const { return Get(index); }
  virtual int Add(const std::string& s);
  // An object rides along with each string (null unless given); the list does not own it.
  virtual TObject* Objects(int index) const { return nullptr; }
  virtual void PutObject(int index, TObject* object) {}
  int AddObject(const std::string& s, TObject* object);
  // Appends every string with its object.
  void AddStrings(const TStrings& strings);
  virtual int IndexOf(std::string_view s) const;

  // Every line followed by CR LF.
  std::string Text() const;
  // Replaces the contents by the lines of text; CR LF, LF and a lone CR each end a line.
  void SetText(std::string_view text);

  // Replaces the contents by the lines of a text file (CR LF or LF line ends).
  virtual void LoadFromFile(const std::string& fileName);
  // Writes every line followed by CR LF; the old file stays intact if the write fails.
  virtual void SaveToFile(const std::string& fileName) const;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void Assign(const TPersistent& source) override;
  bool Equals(const TStrings& other) const;

 protected:
  // Called when an update bracket opens (true) and when the outermost one closes (false).
  virtual void SetUpdateState(bool updating) {}
  void Error(const std::string& message, int index) const;

 private:
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
  HOST_PUBLISHED_CLASS
 public:
  TStringList() = default;
  explicit TStringList(std::initializer_list<std::string> lines);

  int Count() const override { return static_cast<int>(FList.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  TObject* Objects(int index) const override;
  void PutObject(int index, TObject* object) override;
  const std::vector<std::string>& Items() const { return FList; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Runs after every modification made outside an update bracket, and once when the
  // outermost bracket closes.
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool updating) override;

 private:
  void NotifyChanged();
  void NotifyChanging();
  void CheckIndex(int index, bool allowEnd) const;

  std::vector<std::string> FList;
  std::vector<TObject*> FObjects;  // beside FList, one each
};

}  // namespace host
