#pragma once
// On X11, what the desktop expects when a start hands its file to a running
// window: that window comes forward as if the user's click had started it,
// and the launcher's busy cursor for that start ends.

#include <QByteArray>

class QWidget;

namespace X11Startup
{
// startupId is the DESKTOP_STARTUP_ID the launcher gave the start that was
// handed over. Nothing happens off X11 or without an id.
void Complete(QWidget& window, const QByteArray& startupId);
}
