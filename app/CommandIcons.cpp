#include "CommandIcons.h"

#include "Commands.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace
{
struct Picture
{
    int id;
    const char* name;  // the freedesktop icon name, also our file's name
};

const Picture kPictures[] = {
    {ID_FILE_NEW, "document-new"},     {ID_FILE_OPEN, "document-open"}, {ID_FILE_SAVE, "document-save"},
    {ID_EDIT_UNDO, "edit-undo"},       {ID_EDIT_CUT, "edit-cut"},       {ID_EDIT_COPY, "edit-copy"},
    {ID_EDIT_PASTE, "edit-paste"},     {ID_FILE_PRINT, "document-print"}, {ID_APP_ABOUT, "help-about"},
};

// Drawn once per size rather than left to the SVG icon plugin, which a
// desktop may lack; the sizes cover toolbars and menus at scale 1 and 2.
QIcon OwnIcon(const char* name)
{
    QSvgRenderer renderer(QString(":/toolbar/%1.svg").arg(QLatin1String(name)));
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (int size : {16, 22, 24, 32, 44, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
}

bool ThemeHasCommandIcons()
{
    for (const Picture& picture : kPictures) {
        if (!QIcon::hasThemeIcon(QLatin1String(picture.name)))
            return false;
    }
    return true;
}

QIcon CommandIcon(int id)
{
    for (const Picture& picture : kPictures) {
        if (picture.id == id)
            return ThemeHasCommandIcons() ? QIcon::fromTheme(QLatin1String(picture.name)) : OwnIcon(picture.name);
    }
    return QIcon();
}
