#pragma once
// The pictures of the toolbar's commands (and of their menu entries). The
// desktop's icon theme gives them when it has the whole set, so they match
// the rest of the desktop; otherwise the program's own drawings, shipped
// in its resources, so a desktop without a theme never shows blank buttons.

#include <QIcon>

// The picture of a command id (Commands.h); null for commands without one.
QIcon CommandIcon(int id);

// Whether the current icon theme has a picture for every command that
// has one.
bool ThemeHasCommandIcons();
