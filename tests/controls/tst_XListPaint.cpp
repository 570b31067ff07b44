#include "ListFixture.h"

#include <QPainter>

class TestXListPaint : public QObject
{
    Q_OBJECT
private slots:
    void emptyTextCellColoursAndSelection();
    void checkBoxBesideTextAndCentred();
    void headerFrameTitlesAndSortArrow();
    void printListScalesAndPlacesRows();
};

void TestXListPaint::emptyTextCellColoursAndSelection()
{
    ListFixture f({100, 120});
    CXListCtrl* list = f.list;
    // Empty: the text 10 pixels under the header, centred, in window text.
    QImage image = f.Viewport();
    const QRect all = image.rect();
    const QRect ink = Find(image, kWindow, all, false);
    QVERIFY2(ink.top() >= 10 && ink.top() <= 10 + QFontMetrics(list->font()).ascent(),
             qPrintable(QString::number(ink.top())));
    QCOMPARE(Find(image, kText, all), ink);
    const int middle = (ink.left() + ink.right()) / 2;
    QVERIFY2(qAbs(middle - all.width() / 2) <= 2, qPrintable(QString::number(middle)));
    QVERIFY(QFontMetrics(list->font()).horizontalAdvance(QStringLiteral("There are no items to show in this view.")) >=
            ink.width() - 1);

    const QColor red(200, 0, 0), blue(0, 0, 200);
    list->InsertItem(0, QStringLiteral("plain"));
    list->SetItemText(0, 1, QStringLiteral("MMMM"), red, blue);
    list->InsertItem(1, QStringLiteral("grey"), red, blue);
    list->SetEnabled(1, false);
    list->InsertItem(2, QStringLiteral("back"), red, blue);
    list->SetItemText(2, 0, QStringLiteral("back"), QColor(), QColor());  // back to the defaults

    image = f.Viewport();
    // With rows, no empty text where its right half was, right of the columns.
    QVERIFY(ink.right() > 230);
    QVERIFY(Find(image, kWindow, QRect(QPoint(221, ink.top()), ink.bottomRight()), false).isEmpty());
    const QRect cell = f.Cell(0, 1);
    QCOMPARE(image.pixelColor(cell.left() + 1, cell.top() + 1), blue);
    QCOMPARE(image.pixelColor(cell.right(), cell.bottom()), blue);
    QVERIFY(!Find(image, red, cell).isEmpty());
    // Column 0 of the same row keeps the default colours.
    QCOMPARE(Find(image, kWindow, f.Cell(0, 0), false), Find(image, kText, f.Cell(0, 0)));

    // A greyed row keeps its background but writes in grey.
    const QRect grey = f.Cell(1, 0);
    QVERIFY(!Find(image, kGrey, grey).isEmpty());
    QCOMPARE(Find(image, blue, grey, false), Find(image, kGrey, grey));

    const QRect back = f.Cell(2, 0);
    QVERIFY(Find(image, blue, back).isEmpty());
    QVERIFY(!Find(image, kText, back).isEmpty());

    // Emphasis draws heavier text than the same text without it.
    int plainInk = 0, boldInk = 0;
    list->SetItemText(0, 0, QStringLiteral("Total"));
    Find(f.Viewport(), kText, f.Cell(0, 0), true, &plainInk);
    list->SetBold(0, 0, true);
    Find(f.Viewport(), kText, f.Cell(0, 0), true, &boldInk);
    QVERIFY2(boldInk > plainInk, qPrintable(QStringLiteral("%1 vs %2").arg(boldInk).arg(plainInk)));

    // Selected without focus: unseen, unless always shown, then window text on
    // button face, in column 0 only unless the whole row is selected.
    list->SetItemState(0, CXListCtrl::StateSelected, CXListCtrl::StateSelected);
    list->SetFullRowSelect(false);
    list->clearFocus();
    QCOMPARE(f.Viewport().pixelColor(1, 1), kWindow);
    list->SetShowSelectionAlways(true);
    image = f.Viewport();
    QCOMPARE(image.pixelColor(1, 1), kFace);
    QCOMPARE(image.pixelColor(cell.left() + 1, 1), blue);
    list->SetFullRowSelect(true);
    image = f.Viewport();
    QCOMPARE(image.pixelColor(cell.left() + 1, 1), kFace);
    QVERIFY(Find(image, red, cell).isEmpty());

    // With the keyboard focus: highlight text on highlight.
    f.window.activateWindow();
    list->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return list->hasFocus(); }));
    image = f.Viewport();
    QCOMPARE(image.pixelColor(cell.left() + 1, 1), kHighlight);
    QVERIFY(!Find(image, kHighlightText, cell).isEmpty());
}

void TestXListPaint::checkBoxBesideTextAndCentred()
{
    ListFixture f({100, 120, 120});
    CXListCtrl* list = f.list;
    const QColor green(0, 128, 0);
    list->InsertItem(0, QString());
    list->SetItemText(0, 1, QStringLiteral("Cleared"), kText, green);
    list->SetCheckState(0, 1, 0);
    list->SetItemText(0, 2, QString(), kText, green);
    list->SetCheckState(0, 2, 1);

    QImage image = f.Viewport();
    const QRect cell = f.Cell(0, 1);
    const int L = cell.left(), T = cell.top(), y = T + 7;  // box 15 high in a 16-pixel row
    QCOMPARE(image.pixelColor(L + 8, y), green);
    QCOMPARE(image.pixelColor(L + 9, y), kWindow);  // filled before the edge moved in
    QCOMPARE(image.pixelColor(L + 10, y), kDark);   // the box's edge, 10 pixels in
    QCOMPARE(image.pixelColor(L + 11, y), kDarkShadow);
    QCOMPARE(image.pixelColor(L + 22, y), kMidlight);
    QCOMPARE(image.pixelColor(L + 23, y), kLight);
    QCOMPARE(image.pixelColor(L + 24, y), green);
    QCOMPARE(image.pixelColor(L + 15, T), kDark);
    QCOMPARE(image.pixelColor(L + 15, T + 14), kLight);
    QCOMPARE(image.pixelColor(L + 15, T + 15), green);
    // The text starts 4 pixels right of the box.
    const QRect text = Find(image, kText, QRect(L + 24, T, cell.width() - 24, cell.height()));
    QVERIFY2(text.left() >= L + 28 && text.left() <= L + 30, qPrintable(QString::number(text.left() - L)));
    QVERIFY(Find(image, kText, QRect(L + 12, T + 2, 10, 11)).isEmpty());  // unchecked: no mark

    // Without text the box is centred: 120 / 2 - 15 / 2 - 1 = 52 filled, the
    // edge one further in, and the mark 9 right of the edge.
    const int C = f.Cell(0, 2).left();
    QCOMPARE(image.pixelColor(C + 51, T + 1), green);
    QCOMPARE(image.pixelColor(C + 52, T + 1), kWindow);
    QCOMPARE(image.pixelColor(C + 53, T + 1), kDark);
    QCOMPARE(image.pixelColor(C + 66, T + 1), kLight);
    QCOMPARE(image.pixelColor(C + 67, T + 1), green);
    QCOMPARE(image.pixelColor(C + 53 + 9, T + 3), kText);

    // Checked: the mark's strokes, 3 pixels each, starting 9 right of the edge.
    list->SetCheckState(0, 1, 1);
    image = f.Viewport();
    const QList<QPoint> strokeTops = {{19, 3}, {18, 4}, {17, 5}, {16, 6}, {15, 7}, {14, 6}, {13, 5}};
    for (const QPoint& top : strokeTops)
    {
        for (int dy = 0; dy < 3; ++dy)
            QCOMPARE(image.pixelColor(L + top.x(), T + top.y() + dy), kText);
        QCOMPARE(image.pixelColor(L + top.x(), T + top.y() + 3), kWindow);
    }
    QCOMPARE(image.pixelColor(L + 19, T + 2), kWindow);
    QCOMPARE(image.pixelColor(L + 12, T + 5), kWindow);

    // On a greyed row the mark is grey.
    list->SetEnabled(0, false);
    QCOMPARE(f.Viewport().pixelColor(L + 19, T + 3), kGrey);
}

void TestXListPaint::headerFrameTitlesAndSortArrow()
{
    ListFixture f({120, 100});
    CXListCtrl* list = f.list;
    CXHeaderCtrl* header = list->GetHeaderCtrl();
    header->setFixedHeight(20);
    header->model()->setHeaderData(0, Qt::Horizontal, QStringLiteral("Description"));
    header->model()->setHeaderData(1, Qt::Horizontal, QStringLiteral("A title far too long for its column"));
    list->InsertItem(0, QStringLiteral("x"));
    const QColor title = CXHeaderCtrl::TitleColor();
    auto grab = [&] { return header->grab().toImage().convertToFormat(QImage::Format_RGB32); };

    // The frame covers the two columns (220 pixels), not the whole header;
    // a separator between the columns, none after the last.
    QImage image = grab();
    QCOMPARE(image.pixelColor(0, 10), kLight);
    QCOMPARE(image.pixelColor(50, 0), kLight);
    QCOMPARE(image.pixelColor(219, 10), kDark);
    QCOMPARE(image.pixelColor(50, 19), kDark);
    QCOMPARE(image.pixelColor(220, 10), kFace);
    QCOMPARE(image.pixelColor(119, 1), kFace);
    QCOMPARE(image.pixelColor(119, 2), kDark);
    QCOMPARE(image.pixelColor(119, 17), kDark);
    QCOMPARE(image.pixelColor(119, 18), kFace);
    QCOMPARE(image.pixelColor(120, 10), kLight);
    // The long title stops inside its column, 6 pixels from either edge.
    const QRect second = Find(image, title, QRect(120, 1, 200, 18));
    QVERIFY2(second.left() >= 126 && second.right() <= 213,
             qPrintable(QStringLiteral("%1..%2").arg(second.left()).arg(second.right())));

    // The arrow's span in a 20-pixel header, ascending and descending; the
    // title keeps clear of it.
    const int R = 120;
    list->InsertColumn(2, QString(), Qt::AlignLeft, 0);  // a hidden-width column does no harm
    const QRect inside(1, 1, R - 3, 18);  // column 0 without frame and separator
    auto sortAndFindArrow = [&](int column, int order) {
        list->SortColumn(column, order);
        image = grab();
        return Find(image, kLight, inside).united(Find(image, kDark, inside));
    };
    QCOMPARE(sortAndFindArrow(0, 0), QRect(QPoint(R - 16, 5), QPoint(R - 6, 15)));
    const QRect text = Find(image, title, inside);
    QVERIFY2(text.left() >= 5 && text.right() < R - 20, qPrintable(QString::number(text.right())));
    QCOMPARE(sortAndFindArrow(0, 1), QRect(QPoint(R - 16, 5), QPoint(R - 5, 14)));

    // Sorting another column: column 0 keeps its inset title, loses the arrow.
    QVERIFY(sortAndFindArrow(1, 0).isEmpty());
    QVERIFY(qAbs(Find(image, title, inside).left() - 6) <= 1);
}

void TestXListPaint::printListScalesAndPlacesRows()
{
    // A dashboard-like list: no header, 14-pixel rows, placed at (11, 36)
    // in its parent.
    ListFixture f({164, 164});
    CXListCtrl* list = f.list;
    list->setGeometry(11, 36, 328, 60);
    list->setFrameStyle(QFrame::Box | QFrame::Plain);
    list->SetHeaderVisible(false);
    list->SetRowHeight(14);
    const QColor red(200, 0, 0), blue(0, 0, 200);
    list->InsertItem(0, QStringLiteral("  Main"), kText, red);
    list->SetItemText(0, 1, QStringLiteral("10.00  "), kText, blue);

    // A page at twice the screen's resolution, printable area moved 30 down.
    QImage page(1000, 400, QImage::Format_RGB32);
    const int printerDpi = 2 * list->logicalDpiX();
    page.setDotsPerMeterX(qRound(printerDpi / 0.0254));
    page.setDotsPerMeterY(qRound(printerDpi / 0.0254));
    page.fill(Qt::white);
    QPainter painter(&page);
    list->PrintList(painter, QRect(0, 30, 500, 200));
    QVERIFY(painter.worldTransform().isIdentity());
    painter.end();

    // Row 0 lies where it shows on screen, inside the list's one-pixel
    // frame at (11, 36), moved 30 + 40 down, in screen pixels doubled.
    const QPoint row0 = 2 * QPoint(11 + 1, 36 + 1 + 30 + 40);
    const QRect redCell = Find(page, red, page.rect());
    QCOMPARE(redCell.topLeft(), row0);
    QCOMPARE(redCell.height(), 28);
    QCOMPARE(Find(page, blue, page.rect()).topLeft(), row0 + QPoint(2 * 164, 0));
    // Text is printed, no empty-list text or header below the rows.
    QVERIFY(!Find(page, kText, redCell).isEmpty());
    QVERIFY(Find(page, QColor(Qt::white), QRect(0, row0.y() + 28, 1000, 400 - row0.y() - 28), false).isEmpty());
}

QTEST_MAIN(TestXListPaint)
#include "tst_XListPaint.moc"
