#include "ide/ExptIntf.h"

namespace ide {

TIExpert::~TIExpert() = default;

}  // namespace ide
