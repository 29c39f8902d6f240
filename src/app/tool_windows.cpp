// The registry of windows other subsystems contribute.
#include "app/tool_windows.h"

#include <QCoreApplication>

#include <map>

namespace mw {

namespace {

std::map<ToolWindow, ToolWindowOpener>& openers()
{
    static std::map<ToolWindow, ToolWindowOpener> registry;
    return registry;
}

} // namespace

void registerToolWindow(ToolWindow window, ToolWindowOpener opener)
{
    openers()[window] = std::move(opener);
}

bool hasToolWindow(ToolWindow window)
{
    const auto it = openers().find(window);
    return it != openers().end() && it->second;
}

bool openToolWindow(ToolWindow window, Document& document, QWidget* mainWindow)
{
    if (!hasToolWindow(window))
        return false;
    openers()[window](document, mainWindow);
    return true;
}

QString missingToolWindowTip(ToolWindow window)
{
    switch (window) {
    case ToolWindow::View3D:
        return QCoreApplication::translate("mw", "The 3D view is not part of this build yet.");
    case ToolWindow::Advanced:
        return QCoreApplication::translate("mw", "The GMDC editing windows are not part of this build yet.");
    case ToolWindow::Camera:
        return QCoreApplication::translate("mw", "The camera window is not part of this build yet.");
    }
    return {};
}

} // namespace mw
