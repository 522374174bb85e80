#include "apps/run/ProjectMap.h"

#include <gvc.h>

#include <set>
#include <tuple>

#include "host/SysUtils.h"

namespace mebrox {

namespace {

std::string DotString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\')
      out += '\\';
    else if (c == '\n' || c == '\r') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + "\"";
}

const char* const EndNode = "(end)";

class TMapWriter {
 public:
  TMapWriter(const TLoadedProject& project, const TProjectReport& report)
      : FProject(project), FReport(report) {}

  std::string Write() {
    const host::TProjectFile& p = FProject.Project();
    std::string title = p.Title.empty() ? p.ProgramName : p.Title;
    FOut = "digraph " + DotString(p.ProgramName) + " {\n";
    FOut += "  graph [rankdir=LR, label=" + DotString(title) +
            ", labelloc=t, fontname=\"Helvetica\", fontsize=14, nodesep=0.35, ranksep=0.5];\n";
    FOut +=
        "  node [fontname=\"Helvetica\", fontsize=11, shape=box, style=\"rounded,filled\", "
        "fillcolor=\"#e8f0fb\", color=\"#4a6fa5\"];\n";
    FOut += "  edge [fontname=\"Helvetica\", fontsize=10, color=\"#4a6fa5\"];\n";
    for (const TFrameInfo& frame : FProject.Frames()) {
      std::string label = frame.Name;
      if (frame.Form && !frame.Form->Caption().empty()) label += "\n" + frame.Form->Caption();
      FOut += "  " + DotString(frame.Name) + " [label=" + DotString(label) +
              (&frame == &FProject.Frames().front() ? ", peripheries=2" : "") + "];\n";
    }
    for (const TLink& link : FReport.Links) WriteLink(link);
    FOut += "}\n";
    return FOut;
  }

 private:
  void Node(const std::string& id, const std::string& attributes) {
    if (FNodes.insert(id).second) FOut += "  " + DotString(id) + " [" + attributes + "];\n";
  }

  void Edge(const std::string& from, const std::string& to, const std::string& label,
            const std::string& style = "") {
    if (!FEdges.insert({from, to, label, style}).second) return;
    FOut += "  " + DotString(from) + " -> " + DotString(to) + " [label=" + DotString(label) +
            (style.empty() ? "" : ", " + style) + "];\n";
  }

  void End() {
    Node(EndNode,
         "label=\"application ends\", shape=oval, style=filled, fillcolor=\"#eeeeee\", "
         "color=\"#888888\"");
  }

  void WriteLink(const TLink& link) {
    switch (link.Kind) {
      case lkFrame:
      case lkResume: {
        std::string to = link.Target;
        std::string style = link.Kind == lkResume ? "style=dotted" : "";
        if (link.Broken) {
          to = "missing " + link.Target;
          Node(to, "label=" + DotString(link.Target + "\n(missing)") +
                       ", style=\"rounded,dashed\", color=red, fontcolor=red");
          style = "color=red, fontcolor=red";
        }
        Edge(link.From, to, link.Kind == lkResume ? link.Label + " (resume)" : link.Label, style);
        return;
      }
      case lkBack: {
        // Back goes to whichever frame opened this one.
        bool any = false;
        for (const TLink& in : FReport.Links)
          if ((in.Kind == lkFrame || in.Kind == lkResume) && !in.Broken && in.Target == link.From) {
            Edge(link.From, in.From, link.Label, "style=dashed");
            any = true;
          }
        if (!any || link.From == FProject.Frames().front().Name) {
          End();
          Edge(link.From, EndNode, link.Label, "style=dashed");
        }
        return;
      }
      case lkBookmark:
        End();
        Edge(link.From, EndNode, link.Label + " (bookmark)", "style=dotted");
        return;
      case lkProgram: {
        std::string id = "program " + link.Target;
        Node(id, "label=" + DotString(link.Target) +
                     ", shape=note, style=filled, fillcolor=\"#fdf6d8\", color=\"#a08a3c\"");
        Edge(link.From, id, link.Label, "color=\"#a08a3c\"");
        return;
      }
      case lkWave: {
        std::string id = link.From + "." + link.Target;
        if (link.Broken)
          Node(id, "label=" + DotString(link.Target + "\n(missing)") +
                       ", shape=ellipse, style=dashed, color=red, fontcolor=red");
        else
          Node(id,
               "label=" + DotString(link.Target + (link.Detail.empty() ? "" : "\n" + link.Detail)) +
                   ", shape=ellipse, style=filled, fillcolor=\"#e3f4e3\", color=\"#4c8c4c\"");
        Edge(link.From, id, link.Label,
             link.Broken ? "color=red, fontcolor=red" : "color=\"#4c8c4c\"");
        return;
      }
    }
  }

  const TLoadedProject& FProject;
  const TProjectReport& FReport;
  std::string FOut;
  std::set<std::string> FNodes;
  std::set<std::tuple<std::string, std::string, std::string, std::string>> FEdges;
};

}  // namespace

std::string ProjectMapDot(const TLoadedProject& project, const TProjectReport& report) {
  return TMapWriter(project, report).Write();
}

// One Graphviz context for the life of the process: its text-drawing plugin keeps the font
// names of the first context it measured for, so that a second context, after the first is
// freed, would read them freed.
static GVC_t* GraphvizContext() {
  static GVC_t* context = gvContext();
  return context;
}

std::string RenderGraph(const std::string& dot, const std::string& format) {
  GVC_t* context = GraphvizContext();
  Agraph_t* graph = agmemread(dot.c_str());
  if (!graph) throw host::Exception("Graphviz cannot read the map");
  std::string out;
  bool laidOut = gvLayout(context, graph, "dot") == 0;
  char* data = nullptr;
  unsigned int length = 0;
  bool rendered = laidOut && gvRenderData(context, graph, format.c_str(), &data, &length) == 0;
  if (rendered) out.assign(data, length);
  if (data) gvFreeRenderData(data);
  if (laidOut) gvFreeLayout(context, graph);
  agclose(graph);
  if (!laidOut) throw host::Exception("Graphviz cannot lay the map out");
  if (!rendered) throw host::Exception("Graphviz cannot draw the map as " + format);
  return out;
}

}  // namespace mebrox
