// Every text of the dashboard, on screen and on paper, read back from the
// pixels: each lies whole inside its box (nothing of it cut by a clip, a
// list or a body painted over it) and each font measures the cell height
// the layout was drawn for. Run once with the dashboard's face installed
// and once with it hidden from fontconfig, when the desktop's own sans face
// stands in.
#include "DashboardPrinter.h"
#include "ViewTestSupport.h"

#include <QFontInfo>
#include <QPaintEngine>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace
{
bool FaceHidden() { return qEnvironmentVariableIsSet("QUILLET_HIDE_DASHBOARD_FACE"); }

// Hides the dashboard's face (and the face it copies) from fontconfig for
// this process; must run before the application reads any font.
void HideDashboardFace(QTemporaryDir& dir)
{
    const QString path = dir.filePath("fonts.conf");
    QFile conf(path);
    if (!conf.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QString reject;
    for (const QString& family : {QString::fromLatin1(kDashboardFace), QStringLiteral("Arial")})
        reject += QString("<pattern><patelt name=\"family\"><string>%1</string></patelt></pattern>").arg(family);
    conf.write(QString("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\"><fontconfig>"
                       "<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
                       "<selectfont><rejectfont>%1</rejectfont></selectfont></fontconfig>")
                   .arg(reject)
                   .toUtf8());
    conf.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(path));
}

// A paint device that keeps every text painted on it with its font.
class TextRecorder : public QPaintDevice
{
public:
    struct Text
    {
        QString text;
        QFont font;
    };

    explicit TextRecorder(int dpi) : m_dpi(dpi), m_engine(this) {}
    QPaintEngine* paintEngine() const override { return const_cast<Engine*>(&m_engine); }
    QList<Text> texts;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return 20000;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    class Engine : public QPaintEngine
    {
    public:
        explicit Engine(TextRecorder* owner) : QPaintEngine(AllFeatures), m_owner(owner) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPath(const QPainterPath&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawTextItem(const QPointF&, const QTextItem& item) override
        {
            m_owner->texts.append({item.text(), item.font()});
        }
        Type type() const override { return User; }

    private:
        TextRecorder* m_owner;
    };

    int m_dpi;
    Engine m_engine;
};

// The cell height the layout gives each text of the sample below.
int StatedHeight(const QString& text)
{
    if (text == "Account Information" || text == "Category View")
        return 18;
    if (text == "Recurring Transactions" || text == "Day Chart" || text == "Add/Edit" || text == "Edit")
        return 16;
    if (text == "Untitled" || text.size() == 10)  // the printed header's title and date
        return 16;
    if (text.front().isDigit() || text.front() == '-')  // axis values and dates
        return 12;
    return 10;  // pie labels
}

// The font's cell on device is the stated height; or, where no size in
// whole pixels has it, one less, and the next size up would overflow.
bool HasStatedCell(const QFont& font, const QPaintDevice& device, int stated)
{
    const int cell = QFontMetrics(font, &device).height();
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() + 72.0 / device.logicalDpiY());
    return cell == stated || (cell == stated - 1 && QFontMetrics(larger, &device).height() > stated);
}

bool IsLabelBlue(const QColor& c) { return c == PanelColor::LabelNormal(); }
// Any text colour of a list cell, against its light green and the grid.
bool IsListInk(const QColor& c) { return c.red() + c.green() + c.blue() < 450; }

// Accounts and due items whose texts have descenders, a one-category pie.
void FillSample(CQuilletDoc& doc, const FixedNow& now, const char* category)
{
    doc.AddAccount("Checking", "1", 1500.0, "", "", "");
    doc.AddAccount("Joint Savings", "2", 12.5, "", "", "");
    doc.AddRecurring("Checking", 12.5, now.Days(2), "Quarterly gym pay", "", "Weekly", "Forever", 0);
    doc.AddRecurring("Checking", -300.0, now.Days(-1), "Payday", "", "Monthly", "Forever", 0);
    doc.AddToCategoryTotal(category, -40.0);
}
}

class DashboardTextTest : public QObject
{
    Q_OBJECT

private:
    // The shot shows text whole in box: its ink (pixels that isInk picks)
    // within a margin around the box lies in the box and is exactly the ink
    // the font leaves when nothing clips it.
    template <typename IsInk>
    void CheckWhole(const QImage& shot, const QRect& box, const QString& text, const QFont& font, IsInk isInk,
                    int margin = 2)
    {
        QRect ink;
        const QImage around = InkMask(shot, box.adjusted(-margin, -1, margin, 1), isInk, &ink);
        const QString where = QString("\"%1\" in %2,%3 %4x%5").arg(text).arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
        QVERIFY2(!around.isNull(), qPrintable(where + ": no ink"));
        QVERIFY2(box.contains(ink), qPrintable(where + QString(": ink at %1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
        QVERIFY2(IsWholeInk(around, text, font), qPrintable(where + ": cut"));
    }

    static QFont FontOf(const TextRecorder& recorder, const QString& text)
    {
        for (const TextRecorder::Text& t : recorder.texts)
            if (t.text == text)
                return t.font;
        return QFont();
    }

private slots:
    void theFaceIsTheNamedOneOrAStandIn()
    {
        const QImage image(10, 10, QImage::Format_RGB32);
        const QString family = QFontInfo(MakeViewFont(ViewFont::Title, image)).family();
        if (FaceHidden())
            QVERIFY2(family != kDashboardFace, qPrintable(family));
        else
            QCOMPARE(family, QString::fromLatin1(kDashboardFace));
    }

    void everyPaintedFontMeasuresItsStatedCell()
    {
        FixedNow now;
        CQuilletDoc doc;
        FillSample(doc, now, "Auto Fuel");
        CQuilletView view;
        view.SetDocument(&doc);

        // On screen, and on a 600 dpi page where one unit is 6.25 pixels:
        // there the cell is measured before the painter's scaling.
        for (int dpi : {96, 600}) {
            TextRecorder recorder(dpi);
            QPainter painter(&recorder);
            if (dpi == 600) {
                view.OnPrepareDC(painter);
                CPrintInfo info;
                info.m_rectDraw = QRect(0, 0, 800, 1000);
                view.PrintPageHeader(painter, info, "Untitled");
            }
            view.PaintDashboard(painter);
            painter.end();
            QStringList seen;
            for (const TextRecorder::Text& t : recorder.texts) {
                seen << t.text;
                QVERIFY2(HasStatedCell(t.font, recorder, StatedHeight(t.text)),
                         qPrintable(QString("\"%1\" at %2 dpi").arg(t.text).arg(dpi)));
            }
            for (const char* text : {"Account Information", "Category View", "Recurring Transactions", "Day Chart",
                                     "Add/Edit", "Edit", "Auto Fuel", "12/06/26"})
                QVERIFY2(seen.contains(text), text);
            QCOMPARE(seen.contains("Untitled"), dpi == 600);
        }
        QCOMPARE(ViewFontHeight(ViewFont::ListRow), 13);
        QVERIFY(HasStatedCell(view.AccountList()->font(), *view.AccountList(), 13));
    }

    void everyTextLiesWholeInItsBox_data()
    {
        QTest::addColumn<QString>("category");
        QTest::newRow("Auto Fuel") << "Auto Fuel";
        QTest::newRow("Gym & Jogging") << "Gym & Jogging";
    }
    void everyTextLiesWholeInItsBox()
    {
        QFETCH(QString, category);
        FixedNow now;
        CQuilletDoc doc;
        FillSample(doc, now, category.toLatin1().constData());
        CQuilletView view;
        view.SetDocument(&doc);
        const QImage shot = ShowView(view);
        TextRecorder recorder(view.logicalDpiY());
        {
            QPainter painter(&recorder);
            view.PaintDashboard(painter);
        }
        const auto font = [&](const QString& text) { return FontOf(recorder, text); };

        // Two accounts and two due rows: the panels' tops and the chart's
        // plot bottom follow.
        const int tr = 17 + 14 * 2 + 36 + 20, td = tr + 14 * 2 + 22 + 20, b = td + 120;
        QCOMPARE(view.RecurringPanel().top(), tr);
        QCOMPARE(view.DayChartPanel().top(), td);

        // Titles, black on the white band. The list covers the recurring
        // title box's last row; the chart bodies start under the others.
        CheckWhole(shot, EdgeRect(20, 18, 210, 35), "Account Information", font("Account Information"), IsBlack);
        CheckWhole(shot, EdgeRect(20, tr + 4, 330, tr + 19), "Recurring Transactions", font("Recurring Transactions"),
                   IsBlack);
        CheckWhole(shot, EdgeRect(20, td + 4, 330, td + 20), "Day Chart", font("Day Chart"), IsBlack);
        CheckWhole(shot, EdgeRect(370, 21, 650, 37), "Category View", font("Category View"), IsBlack);

        // The painted buttons.
        const QFont button = font("Edit");
        CheckWhole(shot, EdgeRect(270, 20, 330, 36), "Add/Edit", button, IsLabelBlue);
        CheckWhole(shot, EdgeRect(270, tr + 3, 330, tr + 19), "Add/Edit", button, IsLabelBlue);
        CheckWhole(shot, EdgeRect(300, td + 3, 330, td + 19), "Edit", button, IsLabelBlue);
        CheckWhole(shot, EdgeRect(620, 20, 650, 36), "Edit", button, IsLabelBlue);

        // The chart's scale (0 to 10000 with no lines chosen) and its dates.
        const QFont axis = font("10000");
        CheckWhole(shot, EdgeRect(12, b - 12, 46, b - 1), "0", axis, IsBlack);
        CheckWhole(shot, EdgeRect(12, td + 65, 46, td + 75), "5000", axis, IsBlack);
        CheckWhole(shot, EdgeRect(12, td + 21, 46, td + 31), "10000", axis, IsBlack);
        CheckWhole(shot, EdgeRect(290, b + 1, 339, b + 13), "12/06/26", axis, IsBlack);
        CheckWhole(shot, EdgeRect(170, b + 1, 220, b + 13), "09/07/26", axis, IsBlack);
        CheckWhole(shot, EdgeRect(51, b + 1, 101, b + 13), "06/09/26", axis, IsBlack);

        // The one category's label, under the disc at 180 degrees.
        const double mid = 180.0 * 3.14159 / 180.0;
        const double x = 510 - 132 * std::sin(mid), y = 179 - 132 * std::cos(mid);
        CheckWhole(shot, EdgeRect(int(x - 32), int(y - 4), int(x + 32), int(y + 5)), category, font(category),
                   IsBlack);

        // The list rows, 14 units each from one unit under the lists' tops, in
        // cells of the stated widths.
        QFont row = view.AccountList()->font();
        QFont link = row;
        link.setBold(true);
        link.setUnderline(true);
        const auto cell = [](int left, int right, int top) { return EdgeRect(left, top, right, top + 14); };
        CheckWhole(shot, cell(11, 175, 37), "  Checking", link, IsLabelBlue, 0);
        CheckWhole(shot, cell(175, 339, 37), "1500.00", row, IsListInk, 0);
        CheckWhole(shot, cell(11, 175, 51), "  Joint Savings", link, IsLabelBlue, 0);
        CheckWhole(shot, cell(175, 339, 65), "Total: $1512.50", row, IsListInk, 0);
        const int due = tr + 20;  // "Payday" first: its date is earlier
        CheckWhole(shot, cell(11, 63, due), "12/05/26", row, IsListInk, 0);
        CheckWhole(shot, cell(63, 190, due), " Payday", row, IsListInk, 0);
        CheckWhole(shot, cell(190, 245, due), "300.00", row, IsListInk, 0);
        CheckWhole(shot, cell(63, 190, due + 14), " Quarterly gym pay", row, IsListInk, 0);
        CheckWhole(shot, cell(267, 303, due + 14), "Add", link, IsLabelBlue, 0);
        CheckWhole(shot, cell(303, 339, due + 14), "Skip", link, IsLabelBlue, 0);
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir fonts;
    if (FaceHidden())
        HideDashboardFace(fonts);
    QApplication app(argc, argv);
    DashboardTextTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DashboardText.moc"
