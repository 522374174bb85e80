#pragma once

#include <memory>

class QObject;
class QWidget;

namespace host {
class TWinControl;
class IDialogService;
}  // namespace host

namespace host::qt {

// Installs Qt as the toolkit: windows for windowed controls, the event loop, pointers, image
// decoding, text measurement and, unless scriptedDialogs, Qt message boxes. A QApplication must
// exist. The kit's windows take the classic look; unless classicEverywhere, the rest of the
// application keeps the desktop's (a shell around the kit's windows).
void InstallQtBackend(bool scriptedDialogs, bool classicEverywhere = true);
// Qt's own message boxes and file dialogs, to install with SetDialogService.
std::unique_ptr<IDialogService> MakeQtDialogs();

// The Qt widget of a windowed control while it has a window; null otherwise. For a shell that
// lays its own widgets over the kit's windows, as a designer's marks over a designed form.
QWidget* WidgetOf(const TWinControl& control);
// The control whose window the kit paints is object; null for any other object.
TWinControl* KitWindowControl(const QObject* object);

}  // namespace host::qt
