#pragma once

namespace host {

// Registers every component class of the host framework, so form files can name them.
void RegisterHostClasses();

}  // namespace host
