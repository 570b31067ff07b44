// The toolbar's pictures: the desktop's icon theme when it has them all,
// the program's own otherwise; never a blank button.
#include "AppTestSupport.h"

#include "CommandIcons.h"

#include <QDir>
#include <QToolBar>
#include <QtTest>

namespace
{
const int kButtons[] = {ID_FILE_NEW,  ID_FILE_OPEN,  ID_FILE_SAVE,  ID_EDIT_CUT,
                        ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT, ID_APP_ABOUT};
const QStringList kThemeNames{"document-new", "document-open", "document-save", "edit-undo",   "edit-cut",
                              "edit-copy",    "edit-paste",    "document-print", "help-about"};

QImage Picture(const QIcon& icon, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(16, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128;
    return count;
}

// Icon themes are looked up in folder alone; setting the path again also
// makes Qt forget what it found before.
void UseThemes(const QString& folder, const QString& theme)
{
    QIcon::setThemeSearchPaths({folder});
    QIcon::setThemeName(theme);
    QIcon::setFallbackThemeName(theme);
}

// A theme "test" in folder with a plain red picture for each name.
void WriteTheme(const QString& folder, const QStringList& names)
{
    const QString actions = folder + "/test/16x16/actions";
    QVERIFY(QDir().mkpath(actions));
    WriteFileBytes(folder + "/test/index.theme", "[Icon Theme]\nName=test\nDirectories=16x16/actions\n\n"
                                                 "[16x16/actions]\nSize=16\nType=Fixed\n");
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    for (const QString& name : names)
        QVERIFY(red.save(actions + "/" + name + ".png"));
}
}

class CommandIconsTest : public QObject
{
    Q_OBJECT

private slots:
    void ownPicturesOnADesktopWithoutATheme()
    {
        QTemporaryDir noThemes;
        UseThemes(noThemes.path(), "none");
        AppHarness h;
        QVERIFY(h.Start());
        h.Frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.Frame()));
        if (qEnvironmentVariableIsSet("QUILLET_SAVE_PNG"))
            h.Frame().ToolBar()->grab().save(qEnvironmentVariable("QUILLET_SAVE_PNG") + "/toolbar.png");

        QList<QImage> seen;
        for (int id : kButtons) {
            const QImage picture = Picture(h.Frame().CommandAction(id)->icon());
            QVERIFY2(OpaquePixels(picture) > 40, qPrintable(CommandToolTip(id)));
            QVERIFY2(!seen.contains(picture), qPrintable(CommandToolTip(id)));
            seen << picture;
        }
        // Cut, Copy and Paste are never enabled; they still show, greyed.
        const QImage greyed = Picture(h.Frame().CommandAction(ID_EDIT_CUT)->icon(), QIcon::Disabled);
        QVERIFY(OpaquePixels(greyed) > 40);
        QVERIFY(greyed != seen[3]);
    }

    void aThemeIsPreferredOnlyWithEveryPicture()
    {
        QTemporaryDir themes;
        WriteTheme(themes.path(), kThemeNames);
        UseThemes(themes.path(), "test");
        QVERIFY(ThemeHasCommandIcons());
        AppHarness h;
        QVERIFY(h.Start());
        for (int id : kButtons)
            QCOMPARE(Picture(h.Frame().CommandAction(id)->icon()).pixelColor(8, 8), QColor(Qt::red));

        // One missing would mix two styles on one toolbar.
        QVERIFY(QFile::remove(themes.path() + "/test/16x16/actions/help-about.png"));
        UseThemes(themes.path(), "test");
        QVERIFY(!ThemeHasCommandIcons());
        for (int id : kButtons)
            QVERIFY(Picture(CommandIcon(id)).pixelColor(8, 8) != QColor(Qt::red));
    }
};

QTEST_MAIN(CommandIconsTest)
#include "tst_CommandIcons.moc"
