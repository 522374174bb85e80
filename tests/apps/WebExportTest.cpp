// Publishing to the web: the markup of an exported tour against the desktop's own layout, and
// mebrox-run --export-html refusing and warning as a user meets it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <set>

#include "apps/run/Project.h"
#include "apps/run/WebExport.h"
#include "host/Forms.h"
#include "runtime/HyperTxt.h"
#include "runtime/WavePly.h"
#include "tests/ProcessSupport.h"

namespace {

namespace fs = std::filesystem;
using mebrox::TLoadedProject;
using mebrox::TWebSite;
using testing_support::ReadFile;
using testing_support::TProcessResult;
using testing_support::WriteFile;

std::string CopyTour(const testing_support::TempDir& work) {
  fs::copy(MEBROX_TOUR_DIR, work.Path() + "/tour", fs::copy_options::recursive);
  fs::remove(work.Path() + "/tour/Tour.RUN");
  return work.Path() + "/tour";
}

std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"},   {"&gt;", ">"},   {"&quot;", "\""}, {"&#39;", "'"},
      {"&#13;", "\r"}, {"&#10;", "\n"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities)
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += std::strlen(to))
      text.replace(at, std::strlen(from), to);
  return text;
}

struct TTag {
  std::string Name;
  std::map<std::string, std::string> Attributes;
  std::string Text;  // up to the next tag
};

// The opening tags of a page in order, each with its attributes and the text after it.
std::vector<TTag> Tags(const std::string& html) {
  static const std::regex tag(R"re(<([a-z]+)\b([^>]*)>([^<]*))re");
  static const std::regex attribute(R"re(([a-z][a-z-]*)(?:="([^"]*)")?)re");
  std::vector<TTag> tags;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), tag); it != std::sregex_iterator();
       ++it) {
    TTag t{(*it)[1], {}, Unescape((*it)[3])};
    std::string attrs = (*it)[2];
    for (auto a = std::sregex_iterator(attrs.begin(), attrs.end(), attribute);
         a != std::sregex_iterator(); ++a)
      t.Attributes[(*a)[1]] = Unescape((*a)[2]);
    tags.push_back(std::move(t));
  }
  return tags;
}

// A CSS length of a style attribute, in pixels.
int StylePx(const std::string& style, const std::string& property) {
  std::smatch m;
  if (!std::regex_search(style, m, std::regex("(^|;)" + property + ":(-?[0-9]+)px"))) return -9999;
  return std::stoi(m[2]);
}

struct TSlot {
  std::string Word;
  int Left, Top, Right, Bottom;
};
// Hot-word slots by "FRAME HOTTEXT PAGE".
using TSlots = std::map<std::string, std::vector<TSlot>>;

std::vector<TSlot> SlotsOf(const mebrox::THyperTxt& text) {
  std::vector<TSlot> slots;
  for (int i = 0; i < text.SlotCount(); ++i) {
    const mebrox::TWordPos& p = text.WordPos(i);
    if (p.Right > p.Left) slots.push_back({p.Word, p.Left, p.Top, p.Right, p.Bottom});
  }
  return slots;
}

class WebExportTest : public testing::Test {
 protected:
  void SetUp() override {
    mebrox::RegisterProjectClasses();
    FOldDir = fs::current_path();
    FTour = CopyTour(FWork);
  }
  void TearDown() override { fs::current_path(FOldDir); }

  // Each hot text as the desktop paints it in a window's picture: the text it starts with, then
  // every text its Switch Lines words load, as a run loads them.
  TSlots DesktopSlots() {
    TSlots slots;
    std::unique_ptr<TLoadedProject> project = TLoadedProject::Load(FTour + "/Tour.dpr");
    for (const mebrox::TFrameInfo& frame : project->Frames()) {
      host::TForm& form = *frame.Form;
      auto paint = [&] { host::SaveFormImage(form, FWork.File("paint.png")); };
      paint();
      for (host::TComponent* c : form.ComponentList()) {
        auto* text = dynamic_cast<mebrox::THyperTxt*>(c);
        if (!text) continue;
        std::string key = frame.Name + " " + text->Name() + " ";
        slots[key + "start"] = SlotsOf(*text);
        int start = text->LinesListsIndex();
        std::vector<int> order;
        for (int k = 0; k < text->LinesLists().Count(); ++k)
          if (k != start) order.push_back(k);
        // The index it starts at loads only once another was loaded.
        if (!order.empty() && start < text->LinesLists().Count()) order.push_back(start);
        for (int k : order) {
          text->SetLinesListsIndex(k);
          paint();
          slots[key + std::to_string(k)] = SlotsOf(*text);
        }
      }
    }
    return slots;
  }

  TWebSite Export() {
    std::unique_ptr<TLoadedProject> project = TLoadedProject::Load(FTour + "/Tour.dpr");
    return mebrox::BuildWebSite(*project);
  }

  testing_support::TempDir FWork;
  std::string FTour;
  fs::path FOldDir;
};

// Every hot word of every text a hot text of the tour can show stands where the desktop draws
// it, and is a link whose text is the word.
TEST_F(WebExportTest, HotWordsStandOnTheDesktopsSlots) {
  TSlots desktop = DesktopSlots();
  TWebSite site = Export();
  const mebrox::TWebFile* index = site.Find("index.html");
  ASSERT_TRUE(index);

  TSlots web;
  std::string frame, text, page;
  for (const TTag& tag : Tags(index->Bytes)) {
    auto attr = [&](const char* name) {
      auto it = tag.Attributes.find(name);
      return it == tag.Attributes.end() ? std::string() : it->second;
    };
    std::string kind = attr("class");
    if (kind == "mx-frame") frame = attr("id");
    if (kind == "mx-hypertxt") text = attr("data-name");
    if (kind == "mx-page") page = attr("data-page");
    if (kind != "mx-word mx-act") continue;
    std::string style = attr("style");
    int left = StylePx(style, "left"), top = StylePx(style, "top");
    web[frame + " " + text + " " + page].push_back({attr("data-word"), left, top,
                                                    left + StylePx(style, "width"),
                                                    top + StylePx(style, "height")});
    if (!tag.Attributes.count("data-continued")) {
      EXPECT_EQ(tag.Text, attr("data-word"));
    }
  }

  ASSERT_EQ(web.size(), desktop.size());
  int words = 0;
  for (const auto& [key, slots] : desktop) {
    ASSERT_TRUE(web.count(key)) << key;
    const std::vector<TSlot>& published = web[key];
    ASSERT_EQ(published.size(), slots.size()) << key;
    for (size_t i = 0; i < slots.size(); ++i, ++words) {
      const TSlot& d = slots[i];
      const TSlot& w = published[i];
      EXPECT_EQ(w.Word, d.Word) << key;
      EXPECT_LE(std::abs(w.Left - d.Left), 2) << key << " " << d.Word;
      EXPECT_LE(std::abs(w.Top - d.Top), 2) << key << " " << d.Word;
      EXPECT_LE(std::abs(w.Right - d.Right), 2) << key << " " << d.Word;
      EXPECT_LE(std::abs(w.Bottom - d.Bottom), 2) << key << " " << d.Word;
    }
  }
  // The tour's four frames, and the welcome frame's second text.
  EXPECT_TRUE(desktop.count("Form1 HyperTxt1 1"));
  EXPECT_GE(words, 14);
}

// The folder holds what the page needs and nothing it would fetch from elsewhere: a frame per
// frame, every component named, the pictures as PNG and the sounds as they are.
TEST_F(WebExportTest, TheFolderHoldsEveryFrameComponentPictureAndSound) {
  std::map<std::string, std::set<std::string>> names;  // by frame
  std::map<std::string, std::string> classes;
  {
    std::unique_ptr<TLoadedProject> project = TLoadedProject::Load(FTour + "/Tour.dpr");
    for (const mebrox::TFrameInfo& frame : project->Frames()) {
      classes[frame.Name] = frame.ClassName;
      for (host::TComponent* c : frame.Form->ComponentList()) names[frame.Name].insert(c->Name());
    }
  }
  TWebSite site = Export();
  const mebrox::TWebFile* index = site.Find("index.html");
  ASSERT_TRUE(index);

  std::map<std::string, std::set<std::string>> published;
  std::map<std::string, std::string> publishedClasses;
  std::string frame;
  std::vector<std::string> sources;
  for (const TTag& tag : Tags(index->Bytes)) {
    auto has = [&](const char* a) { return tag.Attributes.count(a) > 0; };
    if (tag.Name == "section") {
      frame = tag.Attributes.at("id");
      publishedClasses[frame] = tag.Attributes.at("data-class");
      continue;
    }
    if (has("data-name") && !frame.empty()) published[frame].insert(tag.Attributes.at("data-name"));
    for (const char* a : {"src", "href", "data-href"})
      if (has(a)) sources.push_back(tag.Attributes.at(a));
  }
  EXPECT_EQ(publishedClasses, classes);
  EXPECT_EQ(published, names);

  for (const std::string& source : sources) {
    EXPECT_EQ(source.find("//"), std::string::npos) << source;
    if (source != "#") {
      EXPECT_TRUE(site.Find(source)) << source << " is not in the folder";
    }
  }
  int pictures = 0;
  for (const mebrox::TWebFile& f : site.Files)
    if (f.Path.starts_with("pictures/")) {
      ++pictures;
      EXPECT_TRUE(f.Bytes.starts_with("\x89PNG\r\n\x1a\n")) << f.Path;
    }
  EXPECT_EQ(pictures, 4);
  for (const char* wave : {"chime.wav", "melody.wav"}) {
    const mebrox::TWebFile* sound = site.Find(std::string("sounds/") + wave);
    ASSERT_TRUE(sound) << wave;
    EXPECT_EQ(sound->Bytes, ReadFile(FTour + "/" + wave));
  }
  for (const char* own : {"mebrox.js", "mebrox.css"}) {
    const mebrox::TWebFile* f = site.Find(own);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Bytes.find("http"), std::string::npos) << own;
  }
  // The faces the tour's texts are drawn with travel with it, under their licence.
  if (fs::exists("/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf")) {
    const mebrox::TWebFile* fonts = site.Find("fonts.css");
    ASSERT_TRUE(fonts);
    for (const char* face : {"'mebrox-serif';\n  font-weight: normal;\n  font-style: normal",
                             "'mebrox-serif';\n  font-weight: bold;\n  font-style: normal",
                             "'mebrox-sans';\n  font-weight: bold;\n  font-style: normal"})
      EXPECT_NE(fonts->Bytes.find(face), std::string::npos) << face;
    EXPECT_EQ(std::count(fonts->Bytes.begin(), fonts->Bytes.end(), '@'), 3);
    EXPECT_NE(fonts->Bytes.find("src: url(data:font/ttf;base64,AAEAAA"), std::string::npos);
    EXPECT_NE(index->Bytes.find("<link rel=\"stylesheet\" href=\"fonts.css\">"), std::string::npos);
    const mebrox::TWebFile* licence = site.Find("fonts-LICENSE.txt");
    ASSERT_TRUE(licence);
    EXPECT_NE(licence->Bytes.find("Open Font License"), std::string::npos);
    EXPECT_NE(index->Bytes.find("font-family:'mebrox-serif', 'Times New Roman', 'Liberation "
                                "Serif', serif;font-size:21px"),
              std::string::npos);
  }
  // The program beside the tour cannot run in a browser: its word shows, disabled, with a
  // warning naming the form file and line.
  EXPECT_NE(index->Bytes.find("data-word=\"program\" data-code=\"3\" data-act=\"hello.sh\" "
                              "data-disabled"),
            std::string::npos);
  ASSERT_EQ(site.Warnings.size(), 1u);
  EXPECT_TRUE(site.Warnings[0].ends_with(
      "/Unit1.dfm(44): HyperTxt1.Words: warning: hello.sh is a program, which a browser cannot "
      "run: it shows disabled"))
      << site.Warnings[0];
}

// What the form file holds is the page's text, whatever characters it has: a description's line
// breaks come back from the page as they were, and a face name cannot end the style it is in.
TEST_F(WebExportTest, FormFileTextStaysText) {
  std::string file = FTour + "/Unit4.dfm";
  std::string form = ReadFile(file);
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"Action.Desc = 'A sunset: the day ends, the tour goes on.'",
            "Action.Desc = 'A \"sunset\"'#13#10'<b>&amp;</b>'"},
           {"Caption = 'Custom'", "Caption = 'Line'#13#10'<two>'"},
           {"Font.Name = 'Arial'\n    Font.Style = [fsBold]\n    ShadowColor",
            "Font.Name = 'Odd\"; color:red'\n    Font.Style = [fsBold]\n    ShadowColor"}}) {
    size_t at = form.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    form.replace(at, from.size(), to);
  }
  WriteFile(file, form);
  TWebSite site = Export();
  const std::string& html = site.Find("index.html")->Bytes;
  std::string desc, caption, style;
  for (const TTag& tag : Tags(html)) {
    auto name = tag.Attributes.find("data-name");
    if (name == tag.Attributes.end()) continue;
    if (name->second == "HyperImage1") desc = tag.Attributes.at("data-desc");
    if (name->second == "fxLabel1") {
      caption = tag.Text;
      style = tag.Attributes.at("style");
    }
  }
  EXPECT_EQ(desc, "A \"sunset\"\r\n<b>&amp;</b>");
  EXPECT_EQ(caption, "Line\r\n<two>");
  EXPECT_NE(html.find("data-desc=\"A &quot;sunset&quot;&#13;&#10;&lt;b&gt;&amp;amp;&lt;/b&gt;\""),
            std::string::npos);
  EXPECT_NE(style.find("font-family:'Odd color:red', sans-serif;"), std::string::npos) << style;
}

// ---- the program

TProcessResult RunProgram(const std::vector<std::string>& args, const std::string& dir) {
  return testing_support::RunProcess(MEBROX_RUN_PROGRAM, args, dir);
}

std::set<std::string> Listing(const std::string& dir) {
  std::set<std::string> files;
  if (!fs::is_directory(dir)) return files;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    files.insert(fs::relative(e.path(), dir).string());
  return files;
}

int LineOf(const std::string& file, const std::string& text) {
  std::string form = ReadFile(file);
  size_t at = form.find(text);
  return at == std::string::npos
             ? -1
             : 1 + static_cast<int>(
                       std::count(form.begin(), form.begin() + static_cast<long>(at), '\n'));
}

void Replace(const std::string& file, const std::string& from, const std::string& to) {
  std::string text = ReadFile(file);
  size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  WriteFile(file, text.replace(at, from.size(), to));
}

void Keep(const std::string& work) {
  fs::create_directories(work + "/web");
  WriteFile(work + "/web/keep.txt", "mine");
}

// What a user meets when the export cannot go as asked: the message, the exit code, and what the
// folders hold afterwards (the export's folder, and the work folder beside it).
TEST(WebExportProgram, RefusesOrWarnsAndLeavesNothingHalfWritten) {
  struct TCase {
    std::string Name;
    std::function<void(const std::string& work, const std::string& tour)> Prepare;
    std::vector<std::string> Args;  // before the project
    int ExitCode;
    std::string Message;             // found in standard error
    std::set<std::string> WebAfter;  // the export folder's files; "*" for a whole export
  };
  const std::set<std::string> whole = {"*"};
  std::vector<TCase> cases = {
      {"a folder that is not empty",
       [](const std::string& work, const std::string&) { Keep(work); },
       {"--export-html", "web"},
       1,
       "mebrox-run: web is not empty; --force replaces it with the published application\n",
       {"keep.txt"}},
      {"a folder that is not empty, forced",
       [](const std::string& work, const std::string&) { Keep(work); },
       {"--export-html", "web", "--force"},
       0,
       "Unit1.dfm(44): HyperTxt1.Words: warning: hello.sh is a program",
       whole},
      {"an empty folder",
       [](const std::string& work, const std::string&) { fs::create_directories(work + "/web"); },
       {"--export-html", "web"},
       0,
       "",
       whole},
      {"a file in the folder's place",
       [](const std::string& work, const std::string&) { WriteFile(work + "/web", "a file"); },
       {"--export-html", "web", "--force"},
       1,
       "mebrox-run: web is there and is not a folder\n",
       {}},
      {"the project's own folder",
       [](const std::string&, const std::string&) {},
       {"--export-html", ".", "--force"},
       1,
       "mebrox-run: Will not publish into .: it holds the project itself\n",
       {}},
      {"a frame that is not there",
       [](const std::string&, const std::string& tour) {
         Replace(tour + "/Unit4.dfm", "Action.Frame = 'Form1'", "Action.Frame = 'Form9'");
       },
       {"--export-html", "web"},
       1,
       "tour/Unit4.dfm(@Action.Frame = 'Form9'): HyperArea1.Action.Frame: there is no frame "
       "Form9",
       {}},
      {"a sound that is not there",
       [](const std::string&, const std::string& tour) { fs::remove(tour + "/melody.wav"); },
       {"--export-html", "web"},
       0,
       "tour/Unit4.dfm(@WaveName = 'melody.wav'): WavePlay1.WaveName: warning: tour/melody.wav "
       "not found",
       whole},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    testing_support::TempDir work;
    std::string tour = CopyTour(work);
    c.Prepare(work.Path(), tour);
    std::string message = c.Message;
    if (size_t at = message.find("(@"); at != std::string::npos) {
      size_t end = message.find(')', at);
      message.replace(
          at + 1, end - at - 1,
          std::to_string(LineOf(tour + "/Unit4.dfm", message.substr(at + 2, end - at - 2))));
    }
    std::vector<std::string> args = c.Args;
    // The project's folder is named from inside it; the others from the work folder.
    bool inside = args[1] == ".";
    args.push_back(inside ? "Tour.dpr" : "tour/Tour.dpr");
    std::set<std::string> before = Listing(inside ? tour : work.Path());
    TProcessResult r = RunProgram(args, inside ? tour : work.Path());
    EXPECT_EQ(r.ExitCode, c.ExitCode) << r.Err;
    EXPECT_NE(r.Err.find(message), std::string::npos) << r.Err;
    std::set<std::string> web = Listing(work.File("web"));
    if (c.WebAfter == whole) {
      EXPECT_TRUE(web.count("index.html"));
      EXPECT_TRUE(web.count("mebrox.js"));
      EXPECT_FALSE(web.count("keep.txt"));
      EXPECT_EQ(web.count("sounds/melody.wav"), fs::exists(tour + "/melody.wav") ? 1u : 0u);
      EXPECT_NE(r.Out.find("Published"), std::string::npos);
    } else if (fs::is_directory(work.File("web"))) {
      EXPECT_EQ(web, c.WebAfter);
    }
    if (c.ExitCode != 0) {
      // Refused: nothing beside what was there, no folder half written.
      EXPECT_EQ(Listing(inside ? tour : work.Path()), before);
      EXPECT_EQ(r.Out, "");
    }
    for (const auto& e : fs::directory_iterator(work.Path()))
      EXPECT_EQ(e.path().filename().string().find("mebrox-tmp"), std::string::npos);
  }
}

TEST(WebExportProgram, CommandLineMistakesEndWithExitCodeTwo) {
  testing_support::TempDir start;
  std::string project = MEBROX_TEST_DATA "/projects/Basic/Basic.dpr";
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--force", project},
           {"--export-html"},
           {"--export-html", "web", "--check", project},
           {"--export-html", "web", "--headless", project},
           {"--export-html", "a", "--export-html", "b", project}}) {
    TProcessResult r = RunProgram(args, start.Path());
    EXPECT_EQ(r.ExitCode, 2) << testing::PrintToString(args) << r.Err;
    EXPECT_FALSE(fs::exists(start.File("web")));
  }
}

}  // namespace
