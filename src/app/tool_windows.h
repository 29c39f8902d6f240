// The windows that the main window opens but that live in other subsystems (the 3D view,
// the GMDC editing windows, the camera). Each registers an opener at start-up, before the
// main window is made (see main.cpp); until one is registered, the menu item or button
// that opens it is disabled and its tooltip says why.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace mw {

class Document;

enum class ToolWindow {
    View3D,   // "3D View" (mnuFile3D_view), the wizard's "Check to view the objects in 3D"
    Advanced, // "Advanced Mode" (mnuFileAdvanced)
    Camera,   // Command5
};

// Shows the window (creating it on first use). `mainWindow` is the owner for new windows.
using ToolWindowOpener = std::function<void(Document& document, QWidget* mainWindow)>;

void registerToolWindow(ToolWindow window, ToolWindowOpener opener);
bool hasToolWindow(ToolWindow window);
// Runs the registered opener; false when none is registered.
bool openToolWindow(ToolWindow window, Document& document, QWidget* mainWindow);
// The tooltip of a control whose window is not part of this build.
QString missingToolWindowTip(ToolWindow window);

} // namespace mw
