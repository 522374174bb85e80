#pragma once

#include "ide/Registry.h"
#include "ide/ToolIntf.h"

namespace ide {

// The IDE as packages, editors, experts and sessions reach it: what the packages registered,
// and the project the designer works on now. It is passed, never looked up: packages register
// into the core they are given, sessions are opened over one, editors reach it through their
// designer and experts keep the one they were registered with. So one process may hold several
// cores, and several sessions over one core.
class TDesignCore {
 public:
  TDesignCore();
  ~TDesignCore();
  TDesignCore(const TDesignCore&) = delete;
  TDesignCore& operator=(const TDesignCore&) = delete;

  TDesignRegistry& Registry() { return FRegistry; }
  const TDesignRegistry& Registry() const { return FRegistry; }

  // The tool services of the project in front of the designer, which experts work on; null
  // when there is none. The IDE installs the project it shows (it keeps ownership); null
  // uninstalls. A design session is installed only in the core it designs in, the one it
  // uninstalls itself from when it closes: another fails with EInvalidOperation.
  TIToolServices* ToolServices() const { return FToolServices; }
  void SetToolServices(TIToolServices* services);
  // Uninstalls services when they are the installed ones: a project closing says so.
  void Forget(const TIToolServices* services) {
    if (FToolServices == services) FToolServices = nullptr;
  }

 private:
  TDesignRegistry FRegistry;
  TIToolServices* FToolServices = nullptr;
};

}  // namespace ide
