#include "output/win32/gdi_print_canvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "output/fake_grid.h"
#include "output/grid_printer.h"
#include "output/recording_canvas.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

// What a page's metafile holds of the grid: text with its place and clip, and outlines.
struct MetafilePage {
    std::vector<DrawnText> texts;   // clipped text
    std::vector<DrawnText> titles;  // text without a clip
    std::vector<PixelRect> boxes;
};

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM page) {
    auto& out = *reinterpret_cast<MetafilePage*>(page);
    if (record->iType == EMR_EXTTEXTOUTW) {
        const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* units = reinterpret_cast<const char16_t*>(
            reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
        const RECTL& clip = text->emrtext.rcl;
        DrawnText drawn{{clip.left, clip.top, clip.right, clip.bottom},
                        text->emrtext.ptlReference.x,
                        text->emrtext.ptlReference.y,
                        Utf16ToSjis(std::u16string_view(units, text->emrtext.nChars))};
        if ((text->emrtext.fOptions & ETO_CLIPPED) != 0) {
            out.texts.push_back(drawn);
        } else {
            drawn.clip = {};
            out.titles.push_back(drawn);
        }
    } else if (record->iType == EMR_RECTANGLE) {
        const RECTL& box = reinterpret_cast<const EMRRECTANGLE*>(record)->rclBox;
        out.boxes.push_back({box.left, box.top, box.right, box.bottom});
    }
    return 1;
}

void PrintSample(PrintCanvas& canvas) {
    FakeGrid grid({64, 30, 120}, {18, 18, 18});
    grid.SetCell(2, 1, Utf8ToSjis("中山 ＧⅠ 有馬記念"));
    GridPrinter printer;
    printer.target_grid = &grid;
    printer.target_grid_font = {Utf8ToSjis("ＭＳ ゴシック"), 9.0};
    printer.on_begin_page = [](GridPrinter& sender) {
        return sender.Canvas()->TextOut(sender.MmToPixelX(10), sender.MmToPixelY(3),
                                        Utf8ToSjis("2026年 スケジュール【ALL】"));
    };
    const Status printed = printer.Print(canvas);
    ASSERT_TRUE(printed) << Describe(printed.Error());
}

void ExpectSameTexts(const std::vector<DrawnText>& drawn, const std::vector<DrawnText>& wanted) {
    ASSERT_EQ(drawn.size(), wanted.size());
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].text, wanted[i].text) << i;
        EXPECT_EQ(drawn[i].x, wanted[i].x) << i;
        EXPECT_EQ(drawn[i].y, wanted[i].y) << i;
        EXPECT_EQ(drawn[i].clip, wanted[i].clip) << i;
    }
}

TEST(GdiPrintCanvas, MetafileHoldsTheTextsAndFramesTheRecordingCanvasGets) {
    HDC device = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(device, nullptr);
    RecordingCanvas* recording = nullptr;
    {
        GdiPrintCanvas canvas(device, 96);
        recording = new RecordingCanvas(canvas.PrinterResolutionX(), 96, canvas.PageWidth(),
                                        canvas.PageHeight());
        PrintSample(canvas);
    }
    HENHMETAFILE metafile = CloseEnhMetaFile(device);
    ASSERT_NE(metafile, nullptr);
    MetafilePage page;
    EnumEnhMetaFile(nullptr, metafile, CollectRecord, &page, nullptr);
    DeleteEnhMetaFile(metafile);

    const std::unique_ptr<RecordingCanvas> owned(recording);
    PrintSample(*recording);
    ASSERT_EQ(recording->pages.size(), 1u);
    const RecordedPage& wanted = recording->pages.front();
    ASSERT_EQ(wanted.texts.size(), 9u);
    ExpectSameTexts(page.texts, wanted.texts);
    ExpectSameTexts(page.titles, wanted.titles);
    // A metafile keeps a rectangle's box with its right and bottom edges inside.
    ASSERT_EQ(page.boxes.size(), wanted.frames.size());
    for (size_t i = 0; i < page.boxes.size(); ++i) {
        const PixelRect& frame = wanted.frames[i];
        EXPECT_EQ(page.boxes[i],
                  (PixelRect{frame.left, frame.top, frame.right - 1, frame.bottom - 1}))
            << i;
    }
}

}  // namespace
}  // namespace koyomi
