// The grid printer on a real Qt print job, read back from the PDF it writes.
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

#include "app/app_test_support.h"
#include "output/fake_grid.h"
#include "output/grid_printer.h"
#include "output/qt/grid_print_job.h"
#include "output/qt/qt_print_canvas.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/qt_text.h"
#include "support/sjis_text.h"

using namespace koyomi;
using namespace koyomi::testing;

namespace {

constexpr int kPrinterDpi = 600;
constexpr int kScreenDpi = 96;

// A4 portrait with the whole sheet printable, so page positions are known exactly.
void SetUpPdf(QPrinter& printer, const QString& file) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(kPrinterDpi);
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setOutputFileName(file);
}

FontDescription GridFont() {
    FontDescription font;
    font.face = QStringToSjis(ProportionalGothicFamily());
    font.pointSize = 9;
    return font;
}

std::string Sjis(const char* utf8) {
    return Utf8ToSjis(utf8);
}

// A grid whose cells fail from one row on, as a broken source would.
class FailingGrid final : public GridSource {
  public:
    explicit FailingGrid(int failing_row) : failing_row_(failing_row) {}
    int ColCount() const override { return 2; }
    int RowCount() const override { return 12; }
    std::string Cell(int col, int row) const override {
        if (row >= failing_row_) {
            throw std::runtime_error("cell source gone");
        }
        return "r" + std::to_string(row) + "c" + std::to_string(col);
    }
    int ColWidth(int) const override { return 100; }
    int RowHeight(int) const override { return 200; }

  private:
    int failing_row_;
};

}  // namespace

class QtPrintCanvasTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        InstallJapaneseFontSubstitutes();
        if (!HasPopplerTools()) {
            QSKIP(
                "pdftotext, pdfinfo and pdftoppm (poppler-utils) are needed to read the "
                "printed PDF back; install poppler-utils");
        }
        QVERIFY(dir_.isValid());
    }

    void ReportsThePrintersGeometry() {
        QPrinter printer(QPrinter::HighResolution);
        SetUpPdf(printer, dir_.filePath(QStringLiteral("geometry.pdf")));
        QtPrintCanvas canvas(printer, 120, 144);
        QVERIFY(canvas.IsActive());
        QCOMPARE(canvas.PrinterResolutionX(), kPrinterDpi);
        QCOMPARE(canvas.PrinterResolutionY(), kPrinterDpi);
        QCOMPARE(canvas.ScreenResolutionX(), 120);
        QCOMPARE(canvas.ScreenResolutionY(), 144);
        // 210 x 297 mm at 600 pixels an inch (4961 x 7016), as near as whole points allow.
        QVERIFY(qAbs(canvas.PageWidth() - 4961) <= 4);
        QVERIFY(qAbs(canvas.PageHeight() - 7016) <= 4);
        QVERIFY(canvas.End());
        QVERIFY(!canvas.IsActive());
    }

    // Two strips of two bands... here three bands: six pages, each strip down the table
    // before the next, every page headed by the title, Japanese text kept as text.
    void PrintsEveryPageInStripAndBandOrder() {
        // 3 columns of 300 screen pixels (1875 printer pixels): two fit the printable width
        // of 4961 - 236 - 118. 12 rows of 200 (1250): five fit 7016 - 2 * 236.
        FakeGrid grid(std::vector<int>(3, 300), std::vector<int>(12, 200));
        grid.SetCell(0, 0, Sjis("年月日"));
        grid.SetCell(1, 0, Sjis("場所"));
        grid.SetCell(2, 0, Sjis("レース名"));
        grid.SetCell(1, 3, Sjis("東京"));
        grid.SetCell(2, 11, Sjis("天皇賞（春）"));
        const std::string title = Sjis("2024年 スケジュール【ALL】");

        GridPrinter printer;
        printer.target_grid = &grid;
        printer.target_grid_font = GridFont();
        std::vector<std::pair<int, int>> pages;
        printer.on_begin_page = [&](GridPrinter& sender) {
            pages.emplace_back(sender.CurrentStrip(), sender.CurrentBand());
            return sender.Canvas()->TextOut(sender.MmToPixelX(10), sender.MmToPixelY(4), title);
        };

        const QString file = dir_.filePath(QStringLiteral("six pages.pdf"));
        QPrinter device(QPrinter::HighResolution);
        SetUpPdf(device, file);
        QCOMPARE(PrintGridJob(printer, device, kScreenDpi, kScreenDpi), QString());

        const std::vector<std::pair<int, int>> order = {{1, 1}, {1, 2}, {1, 3},
                                                        {2, 1}, {2, 2}, {2, 3}};
        QCOMPARE(pages, order);
        QCOMPARE(PdfPageCount(file), 6);
        for (int page = 1; page <= 6; ++page) {
            QVERIFY2(PdfText(file, page).contains(QStringLiteral("2024年 スケジュール【ALL】")),
                     qPrintable(QStringLiteral("title missing on page %1").arg(page)));
        }
        const QString first = PdfText(file, 1);
        QVERIFY(first.contains(QStringLiteral("年月日")));
        QVERIFY(first.contains(QStringLiteral("場所")));
        QVERIFY(first.contains(QStringLiteral("東京")));
        QVERIFY(first.contains(QStringLiteral("r4c1")));
        QVERIFY(!first.contains(QStringLiteral("r5c0")));      // the next band
        QVERIFY(!first.contains(QStringLiteral("レース名")));  // the next strip
        QVERIFY(PdfText(file, 2).contains(QStringLiteral("r5c0")));
        QVERIFY(PdfText(file, 3).contains(QStringLiteral("r10c1")));
        const QString fourth = PdfText(file, 4);
        QVERIFY(fourth.contains(QStringLiteral("レース名")));
        QVERIFY(fourth.contains(QStringLiteral("r4c2")));
        QVERIFY(!fourth.contains(QStringLiteral("r4c1")));
        QVERIFY(PdfText(file, 6).contains(QStringLiteral("天皇賞（春）")));
    }

    // Text starts at the cell's top-left inset, stays below the given top, and is cut at
    // the cell's edge; frames are drawn; the page event's text is not cut.
    void DrawsTextBelowItsTopAndClipsItToTheCell() {
        // Column 0 is 40 screen pixels wide and holds ten full-width squares, about 120 pixels
        // of text; column 1 is empty.
        FakeGrid grid({40, 100}, {20});
        grid.SetCell(0, 0, Sjis("■■■■■■■■■■"));
        grid.SetCell(1, 0, "");
        GridPrinter printer;
        printer.target_grid = &grid;
        printer.target_grid_font = GridFont();
        printer.on_begin_page = [](GridPrinter& sender) {
            return sender.Canvas()->TextOut(sender.MmToPixelX(60), sender.MmToPixelY(4),
                                            Sjis("■■"));
        };
        const QString file = dir_.filePath(QStringLiteral("clip.pdf"));
        QPrinter device(QPrinter::HighResolution);
        SetUpPdf(device, file);
        QCOMPARE(PrintGridJob(printer, device, kScreenDpi, kScreenDpi), QString());

        // Rendered at the screen's 96 dpi, printer pixels / 6.25 are screen pixels again:
        // the table starts 10 mm (37.8) from the top-left, column 0 ends at 77.8 and
        // column 1 at 177.8, the row at 57.8; the title sits 60 mm (226.8) from the left and
        // 4 mm (15.1) from the top.
        const QImage page =
            RenderPdfPage(file, 1, kScreenDpi, dir_.filePath(QStringLiteral("clip")));
        QVERIFY(!page.isNull());
        QVERIFY2(DarkestIn(page, QRect(40, 40, 36, 16)) < 100, "cell text missing");
        QVERIFY2(DarkestIn(page, QRect(80, 40, 95, 16)) > 200, "text ran past its cell");
        QVERIFY2(DarkestIn(page, QRect(40, 20, 36, 16)) > 200, "text above its cell");
        QVERIFY2(DarkestIn(page, QRect(37, 45, 2, 8)) < 160, "left frame missing");
        QVERIFY2(DarkestIn(page, QRect(120, 57, 20, 2)) < 160, "bottom frame missing");
        QVERIFY2(DarkestIn(page, QRect(228, 16, 20, 14)) < 100, "title missing");
        QVERIFY2(DarkestIn(page, QRect(200, 0, 80, 14)) > 200, "title above its top");
    }

    void JobThatCannotOpenIsReportedWithItsDestination() {
        FakeGrid grid({40}, {20});
        GridPrinter printer;
        printer.target_grid = &grid;
        const QString file = dir_.filePath(QStringLiteral("no such folder/list.pdf"));
        QPrinter device(QPrinter::HighResolution);
        SetUpPdf(device, file);
        const QString error = PrintGridJob(printer, device, kScreenDpi, kScreenDpi);
        QVERIFY(error.startsWith(QStringLiteral("印刷を開始できませんでした。")));
        QVERIFY(error.contains(QStringLiteral("list.pdf")));
        QVERIFY(!QFile::exists(file));
    }

    // A failure part-way is told, and the pages printed before it are still written out.
    void FailureWhilePrintingIsToldAndEarlierPagesKept() {
        FailingGrid grid(7);  // five rows a page: the second page fails
        GridPrinter printer;
        printer.target_grid = &grid;
        printer.target_grid_font = GridFont();
        const QString file = dir_.filePath(QStringLiteral("broken.pdf"));
        QPrinter device(QPrinter::HighResolution);
        SetUpPdf(device, file);
        const QString error = PrintGridJob(printer, device, kScreenDpi, kScreenDpi);
        QVERIFY(error.startsWith(QStringLiteral("印刷中にエラーが発生しました。")));
        QVERIFY(error.contains(QStringLiteral("cell source gone")));
        QVERIFY(PdfPageCount(file) >= 1);
        QVERIFY(PdfText(file, 1).contains(QStringLiteral("r4c1")));
    }

    // The box tells the cause in the program's language, like the rest of its text.
    void CauseOfAFailureIsToldInJapanese() {
        FakeGrid grid({40}, {20});
        GridPrinter printer;
        printer.target_grid = &grid;
        printer.top_margin = 150;  // with the bottom margin, more than an A4 sheet is high
        printer.bottom_margin = 150;
        const QString file = dir_.filePath(QStringLiteral("margins.pdf"));
        QPrinter device(QPrinter::HighResolution);
        SetUpPdf(device, file);
        QCOMPARE(PrintGridJob(printer, device, kScreenDpi, kScreenDpi),
                 QStringLiteral("印刷中にエラーが発生しました。\n%1\n(余白を除くと用紙に印刷できる"
                                "範囲がありません)")
                     .arg(QDir::toNativeSeparators(file)));

        QtPrintCanvas closed(device, kScreenDpi, kScreenDpi);
        QVERIFY(closed.End());
        QCOMPARE(QString::fromStdString(closed.TextOut(0, 0, "x").Reason()),
                 QStringLiteral("印刷ジョブが開かれていません"));
    }

    void DrawingOutsideAnOpenJobFailsInsteadOfBeingLost() {
        QPrinter device(QPrinter::HighResolution);
        SetUpPdf(device, dir_.filePath(QStringLiteral("closed.pdf")));
        QtPrintCanvas canvas(device, kScreenDpi, kScreenDpi);
        QVERIFY(canvas.End());
        QVERIFY(!canvas.End());
        QVERIFY(!canvas.TextOut(0, 0, "x"));
        QVERIFY(!canvas.FrameRect({0, 0, 10, 10}));
        QVERIFY(!canvas.TextRect({0, 0, 10, 10}, 0, 0, "x"));
        QVERIFY(!canvas.SetFont(FontDescription{}));
    }

  private:
    QTemporaryDir dir_;
};

QTEST_MAIN(QtPrintCanvasTest)
#include "qt_print_canvas_test.moc"
