// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tarvok developers
#include "app/child_windows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace tarvok::app {

bool closeChildWindows(QMdiArea& area)
{
    bool allClosed = true;
    const auto children = area.subWindowList(QMdiArea::CreationOrder);
    for (QMdiSubWindow* child : children) {
        QPointer<QMdiSubWindow> guard(child);
        if (!child->close())
            allClosed = false;
        else if (guard)
            // A closed sub-window is freed later by the event loop; it must
            // not count as open when the next one is added right away.
            area.removeSubWindow(child);
    }
    return allClosed;
}

QWidget* openChildWindow(QMdiArea& area, const std::function<QWidget*()>& factory)
{
    if (!closeChildWindows(area) || !factory)
        return nullptr;
    QWidget* window = factory();
    if (!window)
        return nullptr;
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = area.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
    return window;
}

} // namespace tarvok::app
