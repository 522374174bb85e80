// The map of a project: its frames and links as a Graphviz graph, and the graph drawn.

#include "apps/run/ProjectMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "apps/run/Project.h"
#include "tests/TestSupport.h"
#include "tests/WaveSupport.h"

namespace {

using namespace mebrox;
namespace fs = std::filesystem;

// Every edge of a DOT text as "FROM -> TO: LABEL", sorted.
std::vector<std::string> Edges(const std::string& dot) {
  static const std::regex edge(R"re(^  "([^"]*)" -> "([^"]*)" \[label="([^"]*)")re");
  std::vector<std::string> edges;
  std::istringstream lines(dot);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (std::regex_search(line, m, edge))
      edges.push_back(m[1].str() + " -> " + m[2].str() + ": " + m[3].str());
  }
  std::sort(edges.begin(), edges.end());
  return edges;
}

class ProjectMapTest : public testing::Test {
 protected:
  void SetUp() override { RegisterProjectClasses(); }
  void TearDown() override { fs::current_path(FOldDir); }

  std::string MapOf(const std::string& folder) {
    fs::current_path(folder);
    std::unique_ptr<TLoadedProject> project = TLoadedProject::Load("Tour.dpr");
    std::string dot = ProjectMapDot(*project, CheckProject(*project));
    project.reset();
    fs::current_path(FOldDir);
    return dot;
  }

  fs::path FOldDir = fs::current_path();
  testing_support::QuietMci FMci;
};

TEST_F(ProjectMapTest, TheToursFramesAndEveryLinkBetweenThem) {
  std::string dot = MapOf(MEBROX_TOUR_DIR);
  EXPECT_EQ(Edges(dot), (std::vector<std::string>{
                            "Form1 -> Form1.WavePlay1: chime",
                            "Form1 -> Form2: second frame",
                            "Form1 -> Form3: Bookmark1 (resume)",
                            "Form1 -> program hello.sh: program",
                            "Form2 -> Form1: go back",
                            "Form2 -> Form3: third frame",
                            "Form3 -> (end): HyperArea1 (bookmark)",
                            "Form3 -> Form1: go back",
                            "Form3 -> Form2: go back",
                            "Form3 -> Form4: gallery",
                            "Form4 -> Form1: HyperArea1",
                            "Form4 -> Form3: go back",
                            "Form4 -> Form4.WavePlay1: melody",
                        }))
      << dot;
  // Frames carry their captions; the main frame is drawn double; waves name their files.
  EXPECT_NE(dot.find("\"Form1\" [label=\"Form1\\nMebrox Tour - Welcome\", peripheries=2]"),
            std::string::npos)
      << dot;
  EXPECT_NE(dot.find("\"Form4\" [label=\"Form4\\nMebrox Tour - Gallery\"]"), std::string::npos);
  EXPECT_NE(dot.find("label=\"WavePlay1\\nmelody.wav\""), std::string::npos);
  // Going back is dashed, a bookmark dotted.
  EXPECT_NE(dot.find("\"Form2\" -> \"Form1\" [label=\"go back\", style=dashed]"),
            std::string::npos);
  EXPECT_NE(dot.find("\"Form1\" -> \"Form3\" [label=\"Bookmark1 (resume)\", style=dotted]"),
            std::string::npos);
}

TEST_F(ProjectMapTest, AFrameThatIsMissingShowsInRed) {
  testing_support::TempDir work;
  std::string tour = work.File("tour");
  fs::copy(MEBROX_TOUR_DIR, tour, fs::copy_options::recursive);
  std::string form = testing_support::ReadFile(tour + "/Unit4.dfm");
  size_t at = form.find("Action.Frame = 'Form1'");
  ASSERT_NE(at, std::string::npos);
  form.replace(at, 22, "Action.Frame = 'Form9'");
  testing_support::WriteFile(tour + "/Unit4.dfm", form);

  std::string dot = MapOf(tour);
  std::vector<std::string> edges = Edges(dot);
  EXPECT_NE(std::find(edges.begin(), edges.end(), "Form4 -> missing Form9: HyperArea1"),
            edges.end())
      << dot;
  EXPECT_NE(dot.find("\"missing Form9\" [label=\"Form9\\n(missing)\""), std::string::npos) << dot;
  EXPECT_NE(dot.find("\"Form4\" -> \"missing Form9\" [label=\"HyperArea1\", color=red"),
            std::string::npos);
}

TEST(RenderGraph, DrawsSvgAndPngThroughGraphviz) {
  const std::string dot = "digraph G { \"Form1\" -> \"Form2\" [label=\"second frame\"]; }";
  std::string svg = RenderGraph(dot, "svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("second frame"), std::string::npos);
  EXPECT_TRUE(RenderGraph(dot, "png").starts_with("\x89PNG\r\n\x1a\n"));
  EXPECT_THROW(RenderGraph(dot, "no-such-format"), host::Exception);
  EXPECT_THROW(RenderGraph("digraph { ->", "svg"), host::Exception);
}

}  // namespace
