#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/Classes.h"

using namespace host;

namespace {

std::vector<std::string>* gDestroyed = nullptr;

class TTracked : public TComponent {
  HOST_PUBLISHED_CLASS
 public:
  using TComponent::TComponent;
  ~TTracked() override {
    if (gDestroyed) gDestroyed->push_back(Name());
  }
  bool DesignedAtConstruction = IsDesigning();
  int Count() const { return FCount; }
  void SetCount(int v) { FCount = v; }

 private:
  int FCount = 0;
};

const TClassInfo& TTracked::StaticClassInfo() {
  static TClassInfo info = [] {
    TClassInfo i("TTracked", &TComponent::StaticClassInfo());
    TPublisher<TTracked>(i)
        .Integer("Count", &TTracked::Count, &TTracked::SetCount)
        .Integer("Tag", &TTracked::Tag, &TTracked::SetTag, 5);  // redeclared with a new default
    return i;
  }();
  return info;
}

}  // namespace

TEST(ClassesTest, OwnerDeletesOwnedComponentsLastFirst) {
  std::vector<std::string> destroyed;
  gDestroyed = &destroyed;
  {
    TTracked owner(nullptr);
    owner.SetName("Owner");
    for (const char* n : {"A", "B", "C"}) (new TTracked(&owner))->SetName(n);
    delete owner.FindComponent("b");  // leaves its owner's list
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(1)->Name(), "C");
    EXPECT_EQ(owner.Components(1)->ComponentIndex(), 1);
  }
  gDestroyed = nullptr;
  // The owner's own destructor body runs first, then its components go, last created first.
  EXPECT_EQ(destroyed, (std::vector<std::string>{"B", "Owner", "C", "A"}));
}

TEST(ClassesTest, NamesAreIdentifiersUniqueAmongTheOwnersComponents) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Button1");
  EXPECT_THROW(b->SetName("button1"), EComponentError);
  EXPECT_THROW(b->SetName("1Button"), EComponentError);
  EXPECT_THROW(b->SetName("Bad Name"), EComponentError);
  EXPECT_NO_THROW(b->SetName("Button2"));
  EXPECT_NO_THROW(a->SetName("Button1"));
  EXPECT_EQ(b->Name(), "Button2");
  EXPECT_EQ(owner.FindComponent("BUTTON2"), b);
  EXPECT_THROW(owner.Components(2), EListError);
}

TEST(ClassesTest, DesigningStateReachesComponentsBeforeTheirConstructorsRun) {
  TComponent form(nullptr);
  form.SetDesigning(true);
  auto* dropped = new TTracked(&form);
  EXPECT_TRUE(dropped->DesignedAtConstruction);
  TComponent runtime(nullptr);
  auto* placed = new TTracked(&runtime);
  EXPECT_FALSE(placed->DesignedAtConstruction);
  form.SetDesigning(false);
  EXPECT_FALSE(dropped->IsDesigning());
  dropped->BeginLoading();
  EXPECT_TRUE(dropped->IsLoading());
  dropped->Loaded();
  EXPECT_FALSE(dropped->IsLoading());
}

TEST(ClassesTest, PublishedPropertiesComeAncestorsFirstAndRedeclaredKeepTheirPlace) {
  std::vector<std::string> names;
  const TPropInfo* tag = nullptr;
  for (const TPropInfo* p : TTracked::StaticClassInfo().Properties()) {
    names.push_back(p->Name);
    if (p->Name == "Tag") tag = p;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Left", "Top", "Count"}));
  ASSERT_NE(tag, nullptr);
  EXPECT_EQ(tag->Default, 5);
  EXPECT_EQ(TTracked::StaticClassInfo().FindProperty("count")->Name, "Count");
  EXPECT_EQ(TTracked::StaticClassInfo().FindProperty("Missing"), nullptr);

  TTracked t(nullptr);
  TTracked::StaticClassInfo().FindProperty("Count")->SetOrd(t, 42);
  EXPECT_EQ(t.Count(), 42);
  EXPECT_TRUE(TTracked::StaticClassInfo().InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_EQ(t.ClassName(), "TTracked");
}

TEST(ClassesTest, SetsHoldValuesByOrdinal) {
  enum E { eA, eB, eC };
  TSet<E> s{eA, eC};
  EXPECT_EQ(s.Mask(), 5u);
  EXPECT_TRUE(s.Contains(eC));
  s.Exclude(eA);
  EXPECT_FALSE(s.Contains(eA));
  EXPECT_EQ((s + TSet<E>{eB}).Mask(), 6u);
  EXPECT_EQ(TSet<E>::FromMask(6) - TSet<E>{eB}, TSet<E>{eC});
}

TEST(SysUtilsTest, ConversionsAndPaths) {
  EXPECT_EQ(StrToInt(" -12"), -12);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0x80000000"), static_cast<int>(0x80000000u));
  EXPECT_THROW(StrToInt("12 "), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
  EXPECT_THROW(StrToInt("2147483648"), EConvertError);
  EXPECT_EQ(StrToIntDef("x", 3), 3);
  EXPECT_EQ(ExtractFilePath("C:\\SOUNDS\\ding.wav"), "C:\\SOUNDS\\");
  EXPECT_EQ(ExtractFilePath("/a/b/c.txt"), "/a/b/");
  EXPECT_EQ(ExtractFilePath("c.txt"), "");
  EXPECT_EQ(ExtractFileExt("dir.d/Unit1.PAS"), ".PAS");
  EXPECT_EQ(ExtractFileExt("dir.d/Makefile"), "");
  EXPECT_EQ(ChangeFileExt("/p/Tour.dpr", ".RUN"), "/p/Tour.RUN");
  EXPECT_EQ(NativePath("\\sounds\\a.wav"), "/sounds/a.wav");
  EXPECT_TRUE(SameText("TForm1", "tform1"));
}

TEST(ClassesTest, ComponentsWithoutBoundsKeepADesignPosition) {
  TTracked t(nullptr);
  const TPropInfo* left = TTracked::StaticClassInfo().FindProperty("Left");
  ASSERT_NE(left, nullptr);
  left->SetOrd(t, 48);
  TTracked::StaticClassInfo().FindProperty("Top")->SetOrd(t, 16);
  EXPECT_EQ(t.DesignLeft(), 48);
  EXPECT_EQ(t.DesignTop(), 16);
  EXPECT_EQ(left->Default, 0);  // a component at the origin stores nothing
}

TEST(EventTest, EveryListenerIsToldInOrderAndOneRemovedIsToldNoMore) {
  host::TEvent<int> event;
  EXPECT_FALSE(event);
  std::vector<std::string> told;
  int second = 0;
  event.Add([&](int n) {
    told.push_back("first " + std::to_string(n));
    event.Remove(second);
  });
  second = event.Add([&](int n) { told.push_back("second " + std::to_string(n)); });
  event.Add([&](int n) { told.push_back("third " + std::to_string(n)); });
  EXPECT_TRUE(event);
  event(1);
  event(2);
  EXPECT_EQ(told, (std::vector<std::string>{"first 1", "third 1", "first 2", "third 2"}));
}
