#include "XHeaderCtrl.h"
#include "XListCtrl.h"

#include <QPainter>
#include <QtTest>

class TestXListPaint : public QObject
{
    Q_OBJECT
private slots:
    void cellColoursAndGreyedRows();
    void selectionColours();
    void checkBoxBesideText();
    void checkBoxCentredWithoutText();
    void emptyListText();
    void headerArrowAndTitleSpans();
    void headerSeparatorsFrameAndEllipsis();
    void printListScalesAndPlacesRows();
};

namespace
{
const QColor kWindow(255, 255, 255);
const QColor kText(0, 0, 0);
const QColor kFace(212, 208, 200);
const QColor kLight(250, 250, 250);
const QColor kDark(128, 128, 128);
const QColor kDarkShadow(64, 64, 64);
const QColor kMidlight(227, 227, 227);
const QColor kGrey(114, 114, 114);  // window text 55 % over the window colour
const QColor kHighlight(10, 36, 106);
const QColor kHighlightText(255, 255, 254);

// Fixed colours and a font without anti-aliasing, so pixels can be compared
// exactly.
void Prepare(QWidget* widget)
{
    QPalette pal = widget->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive})
    {
        pal.setColor(group, QPalette::Base, kWindow);
        pal.setColor(group, QPalette::Text, kText);
        pal.setColor(group, QPalette::Button, kFace);
        pal.setColor(group, QPalette::Light, kLight);
        pal.setColor(group, QPalette::Dark, kDark);
        pal.setColor(group, QPalette::Shadow, kDarkShadow);
        pal.setColor(group, QPalette::Midlight, kMidlight);
        pal.setColor(group, QPalette::Highlight, kHighlight);
        pal.setColor(group, QPalette::HighlightedText, kHighlightText);
    }
    widget->setPalette(pal);
    QFont font = widget->font();
    font.setStyleStrategy(QFont::NoAntialias);
    widget->setFont(font);
}

struct PaintFixture
{
    QWidget window;
    CXListCtrl* list;

    PaintFixture(const QList<int>& widths)
    {
        window.resize(420, 240);
        list = new CXListCtrl(&window);
        list->setGeometry(0, 0, 420, 240);
        Prepare(list);
        Prepare(list->GetHeaderCtrl());
        for (int c = 0; c < widths.size(); ++c)
            list->InsertColumn(c, QStringLiteral("Col %1").arg(c), Qt::AlignLeft, widths[c]);
        list->SetRowHeight(16);
        window.show();
        QVERIFY2(QTest::qWaitForWindowExposed(&window), "window not exposed");
    }

    // The viewport as it is painted now.
    QImage Viewport() const { return list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QRect Cell(int row, int column) const
    {
        QRect rect;
        list->GetSubItemRect(row, column, CXListCtrl::AreaBounds, rect);
        return rect;
    }
};

QColor At(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// Bounding box of the pixels of one colour inside area.
QRect Find(const QImage& image, const QColor& colour, const QRect& area)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                found = found.united(QRect(x, y, 1, 1));
    return found;
}

// Bounding box of the pixels differing from background inside area.
QRect Ink(const QImage& image, const QColor& background, const QRect& area)
{
    QRect found;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != background)
                found = found.united(QRect(x, y, 1, 1));
    return found;
}
}

void TestXListPaint::cellColoursAndGreyedRows()
{
    PaintFixture f({100, 120});
    CXListCtrl* list = f.list;
    const QColor red(200, 0, 0), blue(0, 0, 200);
    list->InsertItem(0, QStringLiteral("plain"));
    list->SetItemText(0, 1, QStringLiteral("MMMM"), red, blue);
    list->InsertItem(1, QStringLiteral("grey"), red, blue);
    list->SetEnabled(1, false);
    list->InsertItem(2, QStringLiteral("back"), red, blue);
    list->SetItemText(2, 0, QStringLiteral("back"), QColor(), QColor());  // back to the defaults

    QImage image = f.Viewport();
    const QRect cell = f.Cell(0, 1);
    QCOMPARE(At(image, cell.left() + 1, cell.top() + 1), blue);
    QCOMPARE(At(image, cell.right(), cell.bottom()), blue);
    QVERIFY(!Find(image, red, cell).isEmpty());
    // Column 0 of the same row keeps the default colours.
    QCOMPARE(Ink(image, kWindow, f.Cell(0, 0)), Find(image, kText, f.Cell(0, 0)));

    // A greyed row keeps its background but writes in grey.
    const QRect grey = f.Cell(1, 0);
    QCOMPARE(At(image, grey.left() + 1, grey.top() + 1), blue);
    QVERIFY(Find(image, red, grey).isEmpty());
    QCOMPARE(Ink(image, blue, grey), Find(image, kGrey, grey));
    QVERIFY(!Find(image, kGrey, grey).isEmpty());

    const QRect back = f.Cell(2, 0);
    QVERIFY(Find(image, blue, back).isEmpty());
    QVERIFY(!Find(image, kText, back).isEmpty());

    // Emphasis draws heavier text than the same text without it.
    list->SetItemText(0, 0, QStringLiteral("Total"));
    auto inkCount = [&] {
        const QImage img = f.Viewport();
        const QRect first = f.Cell(0, 0);
        int n = 0;
        for (int y = first.top(); y <= first.bottom(); ++y)
            for (int x = first.left(); x <= first.right(); ++x)
                n += img.pixelColor(x, y) == kText;
        return n;
    };
    const int plainInk = inkCount();
    list->SetBold(0, 0, true);
    const int boldInk = inkCount();
    QVERIFY2(boldInk > plainInk, qPrintable(QStringLiteral("%1 vs %2").arg(boldInk).arg(plainInk)));
}

void TestXListPaint::selectionColours()
{
    PaintFixture f({100, 120});
    CXListCtrl* list = f.list;
    list->InsertItem(0, QStringLiteral("row"));
    list->SetItemText(0, 1, QStringLiteral("cell"), Qt::red, Qt::yellow);
    list->SetItemState(0, CXListCtrl::StateSelected, CXListCtrl::StateSelected);
    list->SetFullRowSelect(false);
    list->clearFocus();

    // Without focus and without always-show, a selected row looks unselected.
    QImage image = f.Viewport();
    QCOMPARE(At(image, f.Cell(0, 0).left() + 1, 1), kWindow);
    // With always-show: window text on button face, column 0 only.
    list->SetShowSelectionAlways(true);
    image = f.Viewport();
    QCOMPARE(At(image, f.Cell(0, 0).left() + 1, 1), kFace);
    QCOMPARE(At(image, f.Cell(0, 1).left() + 1, 1), QColor(Qt::yellow));
    list->SetFullRowSelect(true);
    image = f.Viewport();
    QCOMPARE(At(image, f.Cell(0, 1).left() + 1, 1), kFace);
    QVERIFY(Find(image, QColor(Qt::red), f.Cell(0, 1)).isEmpty());

    // With the keyboard focus: highlight text on highlight.
    f.window.activateWindow();
    list->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return list->hasFocus(); }));
    image = f.Viewport();
    QCOMPARE(At(image, f.Cell(0, 1).left() + 1, 1), kHighlight);
    QVERIFY(!Find(image, kHighlightText, f.Cell(0, 1)).isEmpty());
}

void TestXListPaint::checkBoxBesideText()
{
    PaintFixture f({100, 120});
    CXListCtrl* list = f.list;
    const QColor green(0, 128, 0);
    list->InsertItem(0, QString());
    list->SetItemText(0, 1, QStringLiteral("Cleared"), kText, green);
    list->SetCheckState(0, 1, 0);

    QImage image = f.Viewport();
    const QRect cell = f.Cell(0, 1);
    const int L = cell.left(), T = cell.top();
    QCOMPARE(cell.height(), 16);  // box 15 high: rows T .. T+14
    const int y = T + 7;
    QCOMPARE(At(image, L + 8, y), green);
    QCOMPARE(At(image, L + 9, y), kWindow);  // filled before the edge moved in
    QCOMPARE(At(image, L + 10, y), kDark);   // the box's edge, 10 pixels in
    QCOMPARE(At(image, L + 11, y), kDarkShadow);
    QCOMPARE(At(image, L + 22, y), kMidlight);
    QCOMPARE(At(image, L + 23, y), kLight);
    QCOMPARE(At(image, L + 24, y), green);
    QCOMPARE(At(image, L + 15, T), kDark);
    QCOMPARE(At(image, L + 15, T + 14), kLight);
    QCOMPARE(At(image, L + 15, T + 15), green);
    // The text starts 4 pixels right of the box.
    const QRect text = Find(image, kText, QRect(L + 24, T, cell.width() - 24, cell.height()));
    QVERIFY(!text.isEmpty());
    QVERIFY2(text.left() >= L + 28 && text.left() <= L + 30, qPrintable(QString::number(text.left() - L)));
    QVERIFY(Find(image, kText, QRect(L + 12, T + 2, 10, 11)).isEmpty());  // unchecked: no mark

    // Checked: the mark's strokes, 3 pixels each, starting 9 right of the edge.
    list->SetCheckState(0, 1, 1);
    image = f.Viewport();
    const QList<QPoint> strokeTops = {{19, 3}, {18, 4}, {17, 5}, {16, 6}, {15, 7}, {14, 6}, {13, 5}};
    for (const QPoint& top : strokeTops)
    {
        for (int dy = 0; dy < 3; ++dy)
            QCOMPARE(At(image, L + top.x(), T + top.y() + dy), kText);
        QCOMPARE(At(image, L + top.x(), T + top.y() + 3), kWindow);
    }
    QCOMPARE(At(image, L + 19, T + 2), kWindow);
    QCOMPARE(At(image, L + 12, T + 5), kWindow);

    // On a greyed row the mark is grey.
    list->SetEnabled(0, false);
    image = f.Viewport();
    QCOMPARE(At(image, L + 19, T + 3), kGrey);
}

void TestXListPaint::checkBoxCentredWithoutText()
{
    PaintFixture f({100, 120});
    CXListCtrl* list = f.list;
    const QColor green(0, 128, 0);
    list->InsertItem(0, QString());
    list->SetItemText(0, 1, QString(), kText, green);
    list->SetCheckState(0, 1, 1);

    const QImage image = f.Viewport();
    const QRect cell = f.Cell(0, 1);
    const int L = cell.left(), T = cell.top();
    // 120 / 2 - 15 / 2 - 1 = 52: filled from there, the edge one further in.
    const int y = T + 1;
    QCOMPARE(At(image, L + 51, y), green);
    QCOMPARE(At(image, L + 52, y), kWindow);
    QCOMPARE(At(image, L + 53, y), kDark);
    QCOMPARE(At(image, L + 66, y), kLight);
    QCOMPARE(At(image, L + 67, y), green);
    QCOMPARE(At(image, L + 53 + 9, T + 3), kText);
}

void TestXListPaint::emptyListText()
{
    PaintFixture f({150, 150});
    QImage image = f.Viewport();
    const QRect all = image.rect();
    const QRect ink = Ink(image, kWindow, all);
    QVERIFY(!ink.isEmpty());
    // 10 pixels under the header, centred, in the window-text colour.
    QVERIFY2(ink.top() >= 10 && ink.top() <= 10 + QFontMetrics(f.list->font()).ascent(),
             qPrintable(QString::number(ink.top())));
    QCOMPARE(Find(image, kText, all), ink);
    const int middle = (ink.left() + ink.right()) / 2;
    QVERIFY2(qAbs(middle - all.width() / 2) <= 2, qPrintable(QString::number(middle)));
    QVERIFY(QFontMetrics(f.list->font()).horizontalAdvance(QStringLiteral("There are no items to show in this view.")) >=
            ink.width() - 1);

    // One row: no text.
    f.list->InsertItem(0, QString());
    image = f.Viewport();
    QVERIFY(Ink(image, kWindow, all).isEmpty());
}

void TestXListPaint::headerArrowAndTitleSpans()
{
    PaintFixture f({120, 100});
    CXListCtrl* list = f.list;
    CXHeaderCtrl* header = list->GetHeaderCtrl();
    header->setFixedHeight(20);
    list->InsertColumn(2, QString(), Qt::AlignLeft, 0);  // a hidden-width column does no harm
    header->model()->setHeaderData(0, Qt::Horizontal, QStringLiteral("Description"));
    list->InsertItem(0, QStringLiteral("x"));
    const QColor title = CXHeaderCtrl::TitleColor();
    const int R = 120;
    const QRect inside(1, 1, R - 3, 18);  // section 0 without frame and separator

    auto grab = [&] { return header->grab().toImage().convertToFormat(QImage::Format_RGB32); };

    list->SortColumn(0, 0);
    QImage image = grab();
    QRect arrow = Find(image, kLight, inside).united(Find(image, kDark, inside));
    QCOMPARE(arrow.left(), R - 16);
    QCOMPARE(arrow.right(), R - 6);
    QCOMPARE(arrow.top(), 5);
    QCOMPARE(arrow.bottom(), 15);
    QRect text = Find(image, title, inside);
    QVERIFY(!text.isEmpty());
    QVERIFY2(text.right() < R - 20, qPrintable(QString::number(text.right())));
    QVERIFY(text.left() >= 5);

    list->SortColumn(0, 1);
    image = grab();
    arrow = Find(image, kLight, inside).united(Find(image, kDark, inside));
    QCOMPARE(arrow.left(), R - 16);
    QCOMPARE(arrow.right(), R - 5);
    QCOMPARE(arrow.top(), 5);
    QCOMPARE(arrow.bottom(), 14);

    // Sorting another column: column 0 keeps its inset title, loses the arrow.
    list->SortColumn(1, 0);
    image = grab();
    QVERIFY(Find(image, kLight, inside).isEmpty());
    QVERIFY(Find(image, kDark, inside).isEmpty());
    text = Find(image, title, inside);
    QVERIFY(text.left() >= 5 && text.left() <= 7);
    QVERIFY(header->IsMarked(0));
}

void TestXListPaint::headerSeparatorsFrameAndEllipsis()
{
    PaintFixture f({120, 100});
    CXHeaderCtrl* header = f.list->GetHeaderCtrl();
    header->setFixedHeight(20);
    header->model()->setHeaderData(0, Qt::Horizontal, QStringLiteral("A title far too long for its column"));
    const QImage image = header->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QColor title = CXHeaderCtrl::TitleColor();

    // The frame covers the two columns (220 pixels), not the whole header.
    QCOMPARE(At(image, 0, 10), kLight);
    QCOMPARE(At(image, 50, 0), kLight);
    QCOMPARE(At(image, 219, 10), kDark);
    QCOMPARE(At(image, 50, 19), kDark);
    QCOMPARE(At(image, 221, 10), kFace);
    QCOMPARE(At(image, 300, 19), kFace);
    // A separator between the columns, none after the last.
    QCOMPARE(At(image, 119, 1), kFace);
    QCOMPARE(At(image, 119, 2), kDark);
    QCOMPARE(At(image, 119, 17), kDark);
    QCOMPARE(At(image, 119, 18), kFace);
    QCOMPARE(At(image, 120, 10), kLight);
    QCOMPARE(At(image, 220, 10), kFace);

    // The long title stops inside its column, 6 pixels from either edge.
    const QRect text = Find(image, title, QRect(0, 1, 300, 18));
    QVERIFY(!text.isEmpty());
    QCOMPARE(text.left() >= 6, true);
    const QRect second = Find(image, title, QRect(120, 1, 100, 18));
    QVERIFY2(Find(image, title, QRect(108, 1, 12, 18)).isEmpty(), "title runs into the separator");
    QVERIFY(second.left() >= 126);
}

void TestXListPaint::printListScalesAndPlacesRows()
{
    // A dashboard-like list: no header, 14-pixel rows, placed at (11, 36)
    // in its parent.
    QWidget view;
    view.resize(400, 300);
    auto* list = new CXListCtrl(&view);
    Prepare(list);
    list->setGeometry(11, 36, 328, 60);
    list->SetHeaderVisible(false);
    list->SetRowHeight(14);
    list->InsertColumn(0, QStringLiteral("Account"), Qt::AlignLeft, 164);
    list->InsertColumn(1, QStringLiteral("Balance"), Qt::AlignLeft, 164);
    const QColor red(200, 0, 0), blue(0, 0, 200);
    list->InsertItem(0, QStringLiteral("  Main"), kText, red);
    list->SetItemText(0, 1, QStringLiteral("10.00  "), kText, blue);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // A page at twice the screen's resolution, printable area moved 30 down.
    QImage page(1000, 400, QImage::Format_RGB32);
    const int printerDpi = 2 * list->logicalDpiX();
    page.setDotsPerMeterX(qRound(printerDpi / 0.0254));
    page.setDotsPerMeterY(qRound(printerDpi / 0.0254));
    QCOMPARE(page.logicalDpiX(), printerDpi);
    page.fill(Qt::white);
    QPainter painter(&page);
    list->PrintList(painter, QRect(0, 30, 500, 200));
    QVERIFY(painter.worldTransform().isIdentity());
    painter.end();

    // Row 0 lies at x = 11 - 3, y = 36 + 30 + 40 in screen pixels, doubled.
    const QRect redCell = Find(page, red, page.rect());
    QCOMPARE(redCell.topLeft(), QPoint(16, 212));
    QCOMPARE(redCell.height(), 28);
    const QRect blueCell = Find(page, blue, page.rect());
    QCOMPARE(blueCell.left(), 16 + 2 * 164);
    QCOMPARE(blueCell.top(), 212);
    // Text is printed, no empty-list text or header below the rows.
    QVERIFY(!Find(page, kText, redCell).isEmpty());
    QVERIFY(Ink(page, QColor(Qt::white), QRect(0, 240, 1000, 160)).isEmpty());
}

QTEST_MAIN(TestXListPaint)
#include "tst_XListPaint.moc"
