// Helpers for the widget tests: the poppler tools that read printed PDF files back, modal
// dialogs answered from a timer, and a desktop launcher that only records.
#pragma once

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/open_url.h"

namespace koyomi::testing {

// What a command line tool wrote to its standard output; none when it could not be run
// (not installed) or failed.
inline std::optional<QString> RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000) || !process.waitForFinished(60000) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline bool HasPopplerTools() {
    return RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-v")}).has_value() ||
           RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-v")}).has_value();
}

// The text of one page (1-based), or of every page when `page` is 0.
inline QString PdfText(const QString& pdf, int page = 0) {
    QStringList arguments;
    if (page > 0) {
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    }
    arguments << QStringLiteral("-enc") << QStringLiteral("UTF-8") << pdf << QStringLiteral("-");
    return RunTool(QStringLiteral("pdftotext"), arguments).value_or(QString());
}

// A field of pdfinfo's report, such as "Pages" or "Page size".
inline QString PdfInfo(const QString& pdf, const QString& field) {
    const QString report = RunTool(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
    const QRegularExpression line(QStringLiteral("^%1:[ \\t]*(.*)$").arg(field),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(report);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

inline int PdfPageCount(const QString& pdf) {
    bool ok = false;
    const int pages = PdfInfo(pdf, QStringLiteral("Pages")).toInt(&ok);
    return ok ? pages : -1;
}

// One page rendered in grey at `dpi`; a null image when pdftoppm failed.
inline QImage RenderPdfPage(const QString& pdf, int page, int dpi, const QString& output_prefix) {
    const auto done = RunTool(
        QStringLiteral("pdftoppm"),
        {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
         QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, output_prefix});
    return done ? QImage(output_prefix + QStringLiteral(".png")) : QImage();
}

// Darkest grey level in a rectangle of a grey image (255: nothing drawn there).
inline int DarkestIn(const QImage& image, const QRect& area) {
    int darkest = 255;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
    }
    return darkest;
}

// Calls `answer` with the next modal dialog once it is open; the dialog must be closed by
// `answer`. Gives up after a few seconds, so a test whose dialog never comes fails instead of
// hanging.
inline void WhenModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && ++*tries < 500) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (modal != nullptr) {
            answer(modal);
        }
    });
    timer->start(10);
}

// A desktop that starts nothing and reports what it was asked to open.
class RecordingLauncher final : public DesktopLauncher {
  public:
    bool uri_handler_starts = true;
    bool html_handler_starts = false;
    std::vector<std::string> opened;       // through the address's own handler
    std::vector<std::string> html_opened;  // through the HTML handler

    Status OpenWithUriHandler(const std::string& uri) override {
        opened.push_back(uri);
        return uri_handler_starts ? Status() : Fail(uri + ": no handler");
    }
    Status OpenWithHtmlHandler(const std::string& uri) override {
        html_opened.push_back(uri);
        return html_handler_starts ? Status() : Fail(uri + ": no HTML handler");
    }
};

}  // namespace koyomi::testing
