#pragma once

#include <string>

#include "apps/run/ProjectCheck.h"

namespace mebrox {

// The frames of a project and every way between them as a Graphviz graph (DOT text): one node
// per frame (the main frame drawn double), per program and per wave player, an edge per link
// labelled with its hot word or component. A way back goes to every frame that opens the one it
// leaves; a bookmark ends the application, and a bookmark picture resumes at the marked frame.
// Frames and wave players that are named but missing show in red.
std::string ProjectMapDot(const TLoadedProject& project, const TProjectReport& report);

// Lays a DOT graph out and draws it with Graphviz's library, in a format Graphviz names ("svg",
// "png", "pdf" ...). Fails with host::Exception when Graphviz cannot read the graph or does not
// know the format.
std::string RenderGraph(const std::string& dot, const std::string& format);

}  // namespace mebrox
