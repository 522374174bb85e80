#pragma once

namespace host::qt {

// Installs Qt as the toolkit: windows for windowed controls, the event loop, pointers, image
// decoding, text measurement and, unless scriptedDialogs, Qt message boxes. A QApplication must
// exist.
void InstallQtBackend(bool scriptedDialogs);

}  // namespace host::qt
