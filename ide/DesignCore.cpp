#include "ide/DesignCore.h"

#include "host/SysUtils.h"
#include "ide/DesignSession.h"

namespace ide {

TDesignCore::TDesignCore() = default;
TDesignCore::~TDesignCore() = default;

void TDesignCore::SetToolServices(TIToolServices* services) {
  if (auto* session = dynamic_cast<const TDesignSession*>(services);
      session && &session->Core() != this)
    throw host::EInvalidOperation("The project " + session->ProjectPath() +
                                  " was opened in another design core");
  FToolServices = services;
}

}  // namespace ide
