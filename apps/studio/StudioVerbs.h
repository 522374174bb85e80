#pragma once

#include "apps/headless/ScriptVerb.h"

namespace mebrox {

// The lines the studio's scripts take beyond mebrox-run's: what a designer does to a project.
const TScriptVerbTable& StudioVerbs();

}  // namespace mebrox
