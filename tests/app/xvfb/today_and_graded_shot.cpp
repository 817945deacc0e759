// Under Xvfb: the window on a Saturday of the sample season with "重賞のみ" on, after
// "今日へ移動". Checks on the screen's own pixels that today's rows are framed, and leaves the
// screenshot the README shows.
//
//   today_and_graded_shot <sample service folder> <screenshot.png>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/qt/main_window.h"
#include "app/qt/schedule_grid_delegate.h"
#include "schedule/year_file.h"
#include "support/clock.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/shadow_label.h"
#include "testing/delivered_records.h"
#include "testing/files.h"
#include "testing/record_by_record_store.h"
#include "testing/scripted_jv_link.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;

int Fail(const char* what) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    return 1;
}

bool StoreService(const fs::path& service, const fs::path& program) {
    const std::vector<std::string> records = testing::DeliveredRecords(service);
    std::vector<std::string> work;
    for (const std::string& record : records) {
        testing::StoreRecordByRewrite(program, record + "\r\n", work);
    }
    return !records.empty();
}

int Run(const fs::path& service, const QString& screenshot) {
    QTemporaryDir folder;
    const fs::path program = folder.path().toStdString();
    if (!folder.isValid() || !StoreService(service, program)) {
        return Fail("no year files from the sample service");
    }
    // All months, graded races only, the window filling most of the screen.
    testing::WriteBytes(program / "koyomivw.ini",
                        "[locate]\r\ntop=0\r\nleft=0\r\nwidth=1000\r\nheight=720\r\n"
                        "[kikan]\r\nkikan=1\r\n[jusho]\r\njusho=1\r\n");

    const FixedClock clock({2026, 12, 12, 10, 0, 0});
    MainWindow::Options options;
    options.program_file = program / "koyomivw";
    options.jv_link = std::make_unique<testing::ScriptedJVLink>();  // present and idle
    options.clock = &clock;
    MainWindow window(std::move(options));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        return Fail("the window never showed");
    }
    auto* years = window.findChild<QComboBox*>("year_selector");
    const int year = years->findText(QStringLiteral("2026年ｽｹｼﾞｭｰﾙ"));
    if (year < 0) {
        return Fail("no 2026 in the year selector");
    }
    years->setCurrentIndex(year);
    emit years->activated(year);
    window.findChild<QToolButton*>("today_button")->click();
    QTest::qWait(600);

    if (!window.findChild<QCheckBox*>("graded_check")->isChecked() ||
        !window.findChild<ShadowLabel*>("title_label")
             ->caption()
             .endsWith(QStringLiteral(" ＜重賞＞"))) {
        return Fail("the graded filter was not restored");
    }
    if (window.MarkedRows().empty()) {
        return Fail("no row marked for 2026-12-12");
    }
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), screenshot});
    if (!import.waitForFinished(30000) || import.exitCode() != 0) {
        return Fail("import could not take the screenshot");
    }
    const QImage image(screenshot);
    int frame = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            frame += image.pixelColor(x, y) == TodayFrameColour() ? 1 : 0;
        }
    }
    // Two rows framed across 14 columns: well over a thousand pixels of the frame colour.
    if (frame < 1000) {
        return Fail("today's frame is not on the screen");
    }
    std::printf("%d frame pixels in %s\n", frame, screenshot.toUtf8().constData());
    return 0;
}

}  // namespace
}  // namespace koyomi

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <sample service folder> <screenshot.png>\n", argv[0]);
        return 2;
    }
    koyomi::InstallJapaneseFontSubstitutes();
    QApplication::setFont(koyomi::JapaneseFont(12));
    return koyomi::Run(argv[1], QString::fromLocal8Bit(argv[2]));
}
