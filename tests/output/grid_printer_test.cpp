#include "output/grid_printer.h"

#include <gtest/gtest.h>

#include <new>
#include <utility>

#include "fake_grid.h"
#include "recording_canvas.h"

namespace koyomi {
namespace {

// At 254 dots per inch on printer and screen the scale is 1 and a millimetre is 10 pixels,
// so layouts can be checked by hand: margins left 100, top 100, right 50, bottom 100.
constexpr int kEvenDpi = 254;

std::vector<std::pair<int, int>> PagesOf(GridPrinter& printer, RecordingCanvas& canvas) {
    std::vector<std::pair<int, int>> order;
    printer.on_begin_page = [&order](GridPrinter& sender) {
        order.emplace_back(sender.CurrentStrip(), sender.CurrentBand());
        return Status();
    };
    const Status printed = printer.Print(canvas);
    EXPECT_TRUE(printed) << printed.Reason();
    return order;
}

std::vector<std::string> TextsOf(const RecordedPage& page) {
    std::vector<std::string> texts;
    for (const DrawnText& text : page.texts) {
        texts.push_back(text.text);
    }
    return texts;
}

TEST(GridPrinter, StartsWithTheStoredDefaults) {
    const GridPrinter printer;
    EXPECT_EQ(printer.text_inset_top, 2);
    EXPECT_EQ(printer.text_inset_left, 2);
    EXPECT_EQ(printer.left_margin, 10);
    EXPECT_EQ(printer.top_margin, 10);
    EXPECT_EQ(printer.right_margin, 5);
    EXPECT_EQ(printer.bottom_margin, 10);
    EXPECT_EQ(printer.target_grid, nullptr);
    EXPECT_FALSE(printer.on_begin_page);
    EXPECT_FALSE(printer.on_end_page);
}

TEST(GridPrinter, ScheduleGridOfTheMainWindowFitsOneStripOnA4) {
    const std::vector<int> widths{25, 85, 25, 27, 15, 15, 35, 45, 95, 27, 27, 27, 38, 230};
    const FakeGrid grid(widths, std::vector<int>(100, 15));
    GridPrinter printer;
    printer.left_margin = 0;
    printer.right_margin = 0;
    printer.target_grid = &grid;
    const std::string title = "2024 title";
    printer.on_begin_page = [&title](GridPrinter& sender) {
        return sender.Canvas()->TextOut(sender.MmToPixelX(10), sender.MmToPixelY(4), title);
    };
    RecordingCanvas a4(600, 96, 4960, 7016);
    const Status printed = printer.Print(a4);
    ASSERT_TRUE(printed) << printed.Reason();

    EXPECT_EQ(printer.ColPages(), 1);
    // 15 screen pixels are 94 printer pixels; 7016 - 2 * 236 leaves room for 69 rows.
    EXPECT_EQ(printer.RowPages(), 2);
    EXPECT_EQ(printer.RowStart(2), 69);
    ASSERT_EQ(a4.pages.size(), 2u);
    for (const RecordedPage& page : a4.pages) {
        ASSERT_EQ(page.titles.size(), 1u);
        EXPECT_EQ(page.titles[0].x, 236);
        EXPECT_EQ(page.titles[0].y, 94);
        EXPECT_EQ(page.titles[0].text, title);
    }
    EXPECT_EQ(a4.pages[0].texts.size(), 69u * 14);
    EXPECT_EQ(a4.pages[1].texts.size(), 31u * 14);
    EXPECT_EQ(a4.pages[1].texts.front().text, "r69c0");
    EXPECT_EQ(a4.pages[1].texts.back().text, "r99c13");

    // The 14 columns take 4477 printer pixels once each is rounded.
    RecordingCanvas exact(600, 96, 4477, 7016);
    ASSERT_TRUE(printer.Print(exact));
    EXPECT_EQ(printer.ColPages(), 1);
    RecordingCanvas narrower(600, 96, 4476, 7016);
    ASSERT_TRUE(printer.Print(narrower));
    EXPECT_EQ(printer.ColPages(), 2);
    EXPECT_EQ(printer.ColStart(2), 13);
}

TEST(GridPrinter, PagesRunDownEachStripBeforeTheNext) {
    const FakeGrid grid({300, 300, 300, 300}, std::vector<int>(6, 200));
    GridPrinter printer;
    printer.target_grid = &grid;
    RecordingCanvas canvas(kEvenDpi, kEvenDpi, 800, 650);  // 650 x 450 printable

    const auto order = PagesOf(printer, canvas);
    const std::vector<std::pair<int, int>> expected{{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(printer.PageCount(), 6);
    ASSERT_EQ(canvas.pages.size(), 6u);
    EXPECT_EQ(TextsOf(canvas.pages[1]), (std::vector<std::string>{"r2c0", "r2c1", "r3c0", "r3c1"}));
    EXPECT_EQ(TextsOf(canvas.pages[5]), (std::vector<std::string>{"r4c2", "r4c3", "r5c2", "r5c3"}));
    // Every page starts at the top-left margin; the header row is not repeated.
    EXPECT_EQ(canvas.pages[4].texts[0].clip, (PixelRect{100, 100, 400, 300}));
}

TEST(GridPrinter, RowThatExactlyFillsThePageStaysOnIt) {
    const FakeGrid grid({100}, {200, 200, 200, 200});
    GridPrinter printer;
    printer.target_grid = &grid;

    RecordingCanvas fits(kEvenDpi, kEvenDpi, 800, 1000);  // 800 printable
    ASSERT_TRUE(printer.Print(fits));
    EXPECT_EQ(printer.PrintableHeight(), 800);
    EXPECT_EQ(printer.RowPages(), 1);

    RecordingCanvas OnePixelShort(kEvenDpi, kEvenDpi, 800, 999);
    ASSERT_TRUE(printer.Print(OnePixelShort));
    EXPECT_EQ(printer.RowPages(), 2);
    EXPECT_EQ(printer.RowStart(2), 3);
    ASSERT_EQ(OnePixelShort.pages.size(), 2u);
    EXPECT_EQ(TextsOf(OnePixelShort.pages[1]), std::vector<std::string>{"r3c0"});
}

TEST(GridPrinter, ColumnWiderThanThePageGetsAStripOfItsOwn) {
    const FakeGrid grid({100, 900, 100}, {20});
    GridPrinter printer;
    printer.target_grid = &grid;
    RecordingCanvas canvas(kEvenDpi, kEvenDpi, 650, 500);  // 500 printable width
    const auto order = PagesOf(printer, canvas);

    ASSERT_EQ(printer.ColPages(), 3);
    EXPECT_EQ(printer.ColStart(2), 1);
    EXPECT_EQ(printer.ColStart(3), 2);
    ASSERT_EQ(canvas.pages.size(), 3u);
    ASSERT_EQ(canvas.pages[1].texts.size(), 1u);
    // Drawn at full width; the printer cuts it at the page edge.
    EXPECT_EQ(canvas.pages[1].texts[0].clip, (PixelRect{100, 100, 1000, 120}));
}

TEST(GridPrinter, OversizedFirstColumnOrRowLeavesNoEmptyPage) {
    const FakeGrid grid({900, 100}, {2000, 20});
    GridPrinter printer;
    printer.target_grid = &grid;
    RecordingCanvas canvas(kEvenDpi, kEvenDpi, 650, 1000);
    PagesOf(printer, canvas);

    EXPECT_EQ(printer.ColPages(), 2);
    EXPECT_EQ(printer.ColStart(2), 1);
    EXPECT_EQ(printer.RowPages(), 2);
    EXPECT_EQ(printer.RowStart(2), 1);
    ASSERT_EQ(canvas.pages.size(), 4u);
    for (const RecordedPage& page : canvas.pages) {
        EXPECT_EQ(page.texts.size(), 1u);
    }
    EXPECT_EQ(canvas.pages[0].texts[0].text, "r0c0");
    EXPECT_EQ(canvas.pages[3].texts[0].text, "r1c1");
}

TEST(GridPrinter, AnyNumberOfStripsAndBandsPrints) {
    const FakeGrid wide(std::vector<int>(150, 400), {20});
    GridPrinter printer;
    printer.target_grid = &wide;
    RecordingCanvas WideCanvas(kEvenDpi, kEvenDpi, 650, 1000);  // one column a strip
    PagesOf(printer, WideCanvas);
    EXPECT_EQ(printer.ColPages(), 150);
    EXPECT_EQ(printer.ColStart(150), 149);
    ASSERT_EQ(WideCanvas.pages.size(), 150u);
    EXPECT_EQ(TextsOf(WideCanvas.pages.back()), std::vector<std::string>{"r0c149"});

    const FakeGrid tall({100}, std::vector<int>(1500, 400));
    printer.target_grid = &tall;
    RecordingCanvas TallCanvas(kEvenDpi, kEvenDpi, 650, 700);  // one row a band
    PagesOf(printer, TallCanvas);
    EXPECT_EQ(printer.RowPages(), 1500);
    EXPECT_EQ(printer.RowStart(1500), 1499);
    ASSERT_EQ(TallCanvas.pages.size(), 1500u);
    EXPECT_EQ(TextsOf(TallCanvas.pages.back()), std::vector<std::string>{"r1499c0"});
}

TEST(GridPrinter, PageEventsFramesTheTableOnEveryPage) {
    const FakeGrid grid({100}, {300, 300, 300});
    GridPrinter printer;
    printer.target_grid = &grid;
    printer.target_grid_font.face = "grid font";
    std::vector<std::string> events;
    printer.on_begin_page = [&events](GridPrinter& sender) {
        events.push_back("begin " + std::to_string(sender.CurrentStrip()) + "," +
                         std::to_string(sender.CurrentBand()));
        sender.Canvas()->SetPenColour(0xFF0000);
        return sender.Canvas()->SetFont(FontDescription{"title font"});
    };
    printer.on_end_page = [&events](GridPrinter& sender) {
        events.push_back("end " + std::to_string(sender.CurrentStrip()) + "," +
                         std::to_string(sender.CurrentBand()) + " y " +
                         std::to_string(sender.LastY()));
        return sender.Canvas()->TextOut(0, sender.LastY(), "below");
    };
    RecordingCanvas canvas(kEvenDpi, kEvenDpi, 650, 850);  // two rows a page
    ASSERT_TRUE(printer.Print(canvas));

    EXPECT_EQ(events, (std::vector<std::string>{"begin 1,1", "end 1,1 y 700", "begin 1,2",
                                                "end 1,2 y 400"}));
    ASSERT_EQ(canvas.pages.size(), 2u);
    const std::vector<std::string> expected_log{"pen 0",        "brush clear",     "font grid font",
                                                "pen 16711680", "font title font", "pen 0",
                                                "brush clear",  "font grid font",  "text r2c0",
                                                "frame",        "title below"};
    EXPECT_EQ(canvas.pages[1].log, expected_log);
    EXPECT_EQ(canvas.font.face, "grid font");
}

TEST(GridPrinter, CellsKeepTheirScreenSizeInPrinterPixels) {
    const FakeGrid grid({25, 38}, {15, 15, 15});
    GridPrinter printer;
    printer.target_grid = &grid;
    int last_y = -1;
    printer.on_end_page = [&last_y](GridPrinter& sender) {
        last_y = sender.LastY();
        return Status();
    };
    RecordingCanvas canvas(600, 96, 4960, 7016);  // a scale of 6.25
    ASSERT_TRUE(printer.Print(canvas));

    EXPECT_EQ(printer.RatioX(), 6.25L);
    const RecordedPage& page = canvas.pages.at(0);
    ASSERT_EQ(page.texts.size(), 6u);
    // Margins of 10 mm are 236 pixels; the text inset of 2 pixels is 12.5, rounded to 12.
    EXPECT_EQ(page.texts[0].clip, (PixelRect{236, 236, 392, 330}));
    EXPECT_EQ(page.texts[0].x, 248);
    EXPECT_EQ(page.texts[0].y, 248);
    EXPECT_EQ(page.frames[0], (PixelRect{236, 236, 393, 331}));
    // x = 392.25 and a width of 237.5: the rounded width is 238.
    EXPECT_EQ(page.texts[1].clip, (PixelRect{392, 236, 630, 330}));
    EXPECT_EQ(page.frames[1], (PixelRect{392, 236, 631, 331}));
    // y = 329.75 and 423.5: each edge is rounded on its own, halves to even.
    EXPECT_EQ(page.texts[2].clip, (PixelRect{236, 330, 392, 424}));
    EXPECT_EQ(page.texts[4].clip, (PixelRect{236, 424, 392, 517}));
    EXPECT_EQ(last_y, 517);
}

TEST(GridPrinter, MillimetresBecomePrinterPixels) {
    GridPrinter printer;
    EXPECT_EQ(printer.MmToPixelX(10), 0);  // no print job yet
    const FakeGrid grid({10}, {10});
    printer.target_grid = &grid;

    RecordingCanvas at600(600, 96, 4960, 7016);
    ASSERT_TRUE(printer.Print(at600));
    EXPECT_EQ(printer.MmToPixelX(10), 236);
    EXPECT_EQ(printer.MmToPixelY(4), 94);
    EXPECT_EQ(printer.PrintableWidth(), 4960 - 236 - 118);
    EXPECT_EQ(printer.PrintableHeight(), 7016 - 236 - 236);

    RecordingCanvas at300(300, 96, 2480, 3508);
    ASSERT_TRUE(printer.Print(at300));
    EXPECT_EQ(printer.MmToPixelX(10), 118);
    EXPECT_EQ(printer.MmToPixelY(5), 59);
    EXPECT_EQ(printer.MmToPixelY(297), 3508);
}

TEST(GridPrinter, WithoutTargetGridNothingIsDrawn) {
    GridPrinter printer;
    bool called = false;
    printer.on_begin_page = [&called](GridPrinter&) {
        called = true;
        return Status();
    };
    RecordingCanvas canvas(600, 96, 4960, 7016);
    EXPECT_TRUE(printer.Print(canvas));
    EXPECT_FALSE(called);
    EXPECT_TRUE(canvas.pages[0].log.empty());
}

TEST(GridPrinter, FailuresAreReportedAndEarlierPagesKept) {
    const FakeGrid grid({100}, std::vector<int>(5, 300));
    GridPrinter printer;
    printer.target_grid = &grid;

    RecordingCanvas failing(kEvenDpi, kEvenDpi, 650, 500);  // one row a page
    failing.fail_on_new_page = 3;
    EXPECT_EQ(printer.Print(failing).Reason(), "printer went away");
    EXPECT_EQ(failing.pages.size(), 2u);
    EXPECT_EQ(printer.Canvas(), nullptr);

    // A failing end-of-page handler spoils its page but the job goes on.
    int ends = 0;
    printer.on_end_page = [&ends](GridPrinter&) {
        return ++ends == 2 ? Fail("handler failed") : Status();
    };
    RecordingCanvas GoesOn(kEvenDpi, kEvenDpi, 650, 500);
    EXPECT_EQ(printer.Print(GoesOn).Reason(), "handler failed");
    EXPECT_EQ(GoesOn.pages.size(), 5u);
    EXPECT_EQ(ends, 5);

    // A failing begin-of-page handler ends the job.
    printer.on_end_page = nullptr;
    printer.on_begin_page = [](GridPrinter& sender) {
        return sender.CurrentBand() == 2 ? Fail("title failed") : Status();
    };
    RecordingCanvas stops(kEvenDpi, kEvenDpi, 650, 500);
    EXPECT_EQ(printer.Print(stops).Reason(), "title failed");
    EXPECT_EQ(stops.pages.size(), 2u);
    EXPECT_TRUE(stops.pages[1].texts.empty());

    // The library's own words for running out of memory are not for the user.
    printer.on_begin_page = [](GridPrinter&) -> Status { throw std::bad_alloc(); };
    RecordingCanvas short_of_memory(kEvenDpi, kEvenDpi, 650, 500);
    EXPECT_EQ(printer.Print(short_of_memory).Reason(), "メモリが足りません");

    // A following good job starts clean.
    printer.on_begin_page = nullptr;
    RecordingCanvas good(kEvenDpi, kEvenDpi, 650, 500);
    EXPECT_TRUE(printer.Print(good));
}

TEST(GridPrinter, UnusablePageIsRefusedWithAReason) {
    const FakeGrid grid({100}, {20});
    GridPrinter printer;
    printer.target_grid = &grid;

    RecordingCanvas NoResolution(0, 96, 4960, 7016);
    EXPECT_EQ(printer.Print(NoResolution).Reason(), "プリンタか画面の解像度がわかりません");
    EXPECT_TRUE(NoResolution.pages[0].log.empty());
    EXPECT_EQ(printer.PageCount(), 0);

    RecordingCanvas AllMargin(kEvenDpi, kEvenDpi, 150, 1000);  // 100 + 50 mm margins
    EXPECT_EQ(printer.Print(AllMargin).Reason(), "余白を除くと用紙に印刷できる範囲がありません");
    EXPECT_TRUE(AllMargin.pages[0].log.empty());
}

TEST(GridPrinter, PrintFromAPageEventIsRefused) {
    const FakeGrid grid({100}, {20, 20});
    GridPrinter printer;
    printer.target_grid = &grid;
    bool nested = true;
    printer.on_begin_page = [&nested](GridPrinter& sender) {
        nested = sender.Print(*sender.Canvas()).Ok();
        return Status();
    };
    RecordingCanvas canvas(kEvenDpi, kEvenDpi, 650, 1000);
    EXPECT_FALSE(printer.Print(canvas));
    EXPECT_FALSE(nested);
    EXPECT_EQ(canvas.pages.size(), 1u);
    EXPECT_EQ(canvas.pages[0].texts.size(), 2u);
}

}  // namespace
}  // namespace koyomi
