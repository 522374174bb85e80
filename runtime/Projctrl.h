#pragma once

#include "host/Classes.h"

namespace mebrox {

// A non-visual component a designer drops on a frame for an overview of the project from the
// form designer (its editor counts and lists the frames). It does nothing at run time; the
// class lives with the run-time kit so that a finished application reads frames that hold one.
class TProjCtrl : public host::TComponent {
  HOST_PUBLISHED_CLASS
 public:
  explicit TProjCtrl(host::TComponent* owner) : host::TComponent(owner) {}
};

}  // namespace mebrox
