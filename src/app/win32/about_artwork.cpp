#include "app/win32/about_artwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace koyomi::win32 {
namespace {

// GDI draws no smooth edges: the picture is drawn this many times larger and then reduced by
// averaging, which smooths the curves and the text as the Linux box's painter does.
constexpr int kOversampling = 4;

struct Point {
    double x;
    double y;
};

// A 32-bit top-down bitmap with its pixels in reach.
struct Canvas {
    HBITMAP bitmap = nullptr;
    std::uint32_t* pixels = nullptr;
};

Canvas MakeCanvas(HDC compatible, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Canvas canvas;
    void* bits = nullptr;
    canvas.bitmap = CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    canvas.pixels = static_cast<std::uint32_t*>(bits);
    return canvas;
}

// Draws in the picture's own coordinates (300 x 200) on a device `scale` times larger.
class Painter {
  public:
    Painter(HDC dc, double scale) : dc_(dc), scale_(scale) {
        SetBkMode(dc_, TRANSPARENT);
        SetPolyFillMode(dc_, WINDING);
    }

    void Translate(double x, double y) { origin_ = {origin_.x + x, origin_.y + y}; }

    void FillRect(double left, double top, double width, double height, COLORREF colour) {
        const RECT area{X(left), Y(top), X(left + width), Y(top + height)};
        HBRUSH brush = CreateSolidBrush(colour);
        ::FillRect(dc_, &area, brush);
        DeleteObject(brush);
    }

    // From `top` colour at `top` to `bottom` colour at `top + height`.
    void FillVerticalGradient(double left, double top, double width, double height,
                              COLORREF top_colour, COLORREF bottom_colour) {
        std::array<TRIVERTEX, 2> corners{};
        corners[0] = Vertex(X(left), Y(top), top_colour);
        corners[1] = Vertex(X(left + width), Y(top + height), bottom_colour);
        GRADIENT_RECT rect{0, 1};
        GradientFill(dc_, corners.data(), 2, &rect, 1, GRADIENT_FILL_RECT_V);
    }

    void FillEllipse(double left, double top, double width, double height, COLORREF colour) {
        Fill(colour, [&] { Ellipse(dc_, X(left), Y(top), X(left + width), Y(top + height)); });
    }

    void StrokeEllipse(double left, double top, double width, double height, COLORREF colour,
                       double pen_width) {
        Stroke(colour, pen_width, PS_ENDCAP_SQUARE,
               [&] { Ellipse(dc_, X(left), Y(top), X(left + width), Y(top + height)); });
    }

    void Line(Point from, Point to, COLORREF colour, double pen_width, bool round_ends = false) {
        Stroke(colour, pen_width, round_ends ? PS_ENDCAP_ROUND : PS_ENDCAP_SQUARE, [&] {
            MoveToEx(dc_, X(from.x), Y(from.y), nullptr);
            LineTo(dc_, X(to.x), Y(to.y));
        });
    }

    void FillPolygon(std::initializer_list<Point> corners, COLORREF colour) {
        std::vector<POINT> points;
        for (const Point& corner : corners) {
            points.push_back({X(corner.x), Y(corner.y)});
        }
        Fill(colour, [&] { Polygon(dc_, points.data(), static_cast<int>(points.size())); });
    }

    // A closed figure from `start` through cubic curves (three points each) and then straight
    // lines.
    void FillCurvedFigure(Point start, std::initializer_list<Point> curves,
                          std::initializer_list<Point> lines, COLORREF colour) {
        BeginPath(dc_);
        MoveToEx(dc_, X(start.x), Y(start.y), nullptr);
        std::vector<POINT> points;
        for (const Point& point : curves) {
            points.push_back({X(point.x), Y(point.y)});
        }
        PolyBezierTo(dc_, points.data(), static_cast<DWORD>(points.size()));
        for (const Point& point : lines) {
            LineTo(dc_, X(point.x), Y(point.y));
        }
        CloseFigure(dc_);
        EndPath(dc_);
        Fill(colour, [&] { FillPath(dc_); });
    }

    // Shapes of a see-through colour: `alpha` of 255 covers.
    void BlendEllipse(double left, double top, double width, double height, COLORREF colour,
                      int alpha) {
        BeginPath(dc_);
        Ellipse(dc_, X(left), Y(top), X(left + width), Y(top + height));
        EndPath(dc_);
        BlendPath(colour, alpha);
    }

    void BlendRect(double left, double top, double width, double height, COLORREF colour,
                   int alpha) {
        BeginPath(dc_);
        Rectangle(dc_, X(left), Y(top), X(left + width), Y(top + height));
        EndPath(dc_);
        BlendPath(colour, alpha);
    }

    // Text whose baseline starts at (x, y).
    void Text(double x, double y, const std::wstring& text, HFONT font, COLORREF colour) {
        SelectObject(dc_, font);
        SetTextAlign(dc_, TA_LEFT | TA_BASELINE);
        SetTextColor(dc_, colour);
        TextOutW(dc_, X(x), Y(y), text.c_str(), static_cast<int>(text.size()));
    }

    void BlendText(double x, double y, const std::wstring& text, HFONT font, COLORREF colour,
                   int alpha) {
        SelectObject(dc_, font);
        SetTextAlign(dc_, TA_LEFT | TA_BASELINE);
        BeginPath(dc_);
        TextOutW(dc_, X(x), Y(y), text.c_str(), static_cast<int>(text.size()));
        EndPath(dc_);
        BlendPath(colour, alpha);
    }

    void CentredText(double left, double top, double width, double height, const std::wstring& text,
                     HFONT font, COLORREF colour) {
        SelectObject(dc_, font);
        SetTextAlign(dc_, TA_LEFT | TA_TOP);
        SetTextColor(dc_, colour);
        RECT area{X(left), Y(top), X(left + width), Y(top + height)};
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // The Japanese Gothic at `pixels` of the picture, smoothed by the reduction; the
    // caller deletes it.
    HFONT Font(int pixels, bool bold) const {
        LOGFONTW font{};
        font.lfHeight = -static_cast<LONG>(std::lround(pixels * scale_));
        font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        font.lfCharSet = SHIFTJIS_CHARSET;
        font.lfQuality = ANTIALIASED_QUALITY;
        font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
        lstrcpynW(font.lfFaceName, L"ＭＳ Ｐゴシック", LF_FACESIZE);
        return CreateFontIndirectW(&font);
    }

  private:
    int X(double x) const { return static_cast<int>(std::lround((x + origin_.x) * scale_)); }
    int Y(double y) const { return static_cast<int>(std::lround((y + origin_.y) * scale_)); }

    static TRIVERTEX Vertex(int x, int y, COLORREF colour) {
        TRIVERTEX vertex{};
        vertex.x = x;
        vertex.y = y;
        vertex.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
        vertex.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
        vertex.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
        return vertex;
    }

    template <typename Draw>
    void Fill(COLORREF colour, Draw draw) {
        HBRUSH brush = CreateSolidBrush(colour);
        const HGDIOBJ old_brush = SelectObject(dc_, brush);
        const HGDIOBJ old_pen = SelectObject(dc_, GetStockObject(NULL_PEN));
        draw();
        SelectObject(dc_, old_pen);
        SelectObject(dc_, old_brush);
        DeleteObject(brush);
    }

    template <typename Draw>
    void Stroke(COLORREF colour, double pen_width, DWORD ends, Draw draw) {
        LOGBRUSH ink{BS_SOLID, colour, 0};
        const auto width = static_cast<DWORD>(std::max(1L, std::lround(pen_width * scale_)));
        HPEN pen =
            ExtCreatePen(PS_GEOMETRIC | PS_SOLID | ends | PS_JOIN_MITER, width, &ink, 0, nullptr);
        const HGDIOBJ old_pen = SelectObject(dc_, pen);
        // Outlines only.
        const HGDIOBJ old_brush = SelectObject(dc_, GetStockObject(NULL_BRUSH));
        draw();
        SelectObject(dc_, old_brush);
        SelectObject(dc_, old_pen);
        DeleteObject(pen);
    }

    // Lays the colour over the path just made, `alpha` of 255 strong.
    void BlendPath(COLORREF colour, int alpha) {
        RECT bounds{};
        SelectClipPath(dc_, RGN_COPY);
        GetClipBox(dc_, &bounds);
        HDC source = CreateCompatibleDC(dc_);
        const Canvas dot = MakeCanvas(dc_, 1, 1);
        if (dot.bitmap != nullptr) {
            *dot.pixels = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
            const HGDIOBJ old = SelectObject(source, dot.bitmap);
            const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
            AlphaBlend(dc_, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top, source, 0, 0, 1, 1, blend);
            SelectObject(source, old);
            DeleteObject(dot.bitmap);
        }
        DeleteDC(source);
        SelectClipRgn(dc_, nullptr);
    }

    HDC dc_;
    double scale_;
    Point origin_{0, 0};
};

void PaintSky(Painter& painter) {
    painter.FillVerticalGradient(0, 0, kAboutArtworkWidth, 110, RGB(0x2B, 0x5F, 0xB3),
                                 RGB(0xCB, 0xE8, 0xFF));
    painter.FillRect(0, 110, kAboutArtworkWidth, 2, RGB(0xCB, 0xE8, 0xFF));
    for (const auto& [left, top, width, height] :
         {std::array<double, 4>{150, 20, 46, 12}, std::array<double, 4>{170, 14, 34, 14},
          std::array<double, 4>{28, 78, 60, 10}, std::array<double, 4>{48, 72, 30, 12}}) {
        painter.BlendEllipse(left, top, width, height, RGB(255, 255, 255), 150);
    }
}

void PaintHillsAndStand(Painter& painter) {
    painter.FillCurvedFigure({0, 104},
                             {{60, 84}, {110, 98}, {160, 92}, {210, 86}, {250, 80}, {300, 96}},
                             {{300, 112}, {0, 112}}, RGB(0x6E, 0x95, 0x7A));
    // The grass around the course.
    painter.FillRect(0, 106, kAboutArtworkWidth, kAboutArtworkHeight - 106, RGB(0x35, 0x8A, 0x34));

    // The grandstand on the far side of the course.
    painter.FillRect(196, 94, 78, 14, RGB(0xE8, 0xE8, 0xE0));
    painter.FillPolygon({{192, 96}, {278, 96}, {270, 89}, {200, 89}}, RGB(0x8A, 0x2B, 0x2B));
    for (int x = 202; x < 272; x += 8) {
        painter.Line({double(x), 98}, {double(x), 107}, RGB(0x9A, 0x9A, 0x90), 1);
    }
}

void PaintCourse(Painter& painter) {
    painter.FillEllipse(-40, 104, 380, 140, RGB(0x3C, 0x9A, 0x3A));
    // Mowing stripes on the turf.
    painter.FillEllipse(-28, 110, 356, 128, RGB(0x46, 0xA8, 0x43));
    painter.FillEllipse(-18, 116, 336, 116, RGB(0x3C, 0x9A, 0x3A));
    painter.FillEllipse(6, 126, 288, 96, RGB(0xB9, 0x8B, 0x57));
    painter.FillEllipse(44, 144, 212, 60, RGB(0x72, 0xC4, 0x4E));
    painter.FillEllipse(118, 160, 64, 16, RGB(0x5A, 0x9E, 0xD6));

    // The rails: inside the turf, outside the dirt and around the infield.
    painter.StrokeEllipse(-38, 106, 376, 136, RGB(255, 255, 255), 1.5);
    painter.StrokeEllipse(4, 124, 292, 100, RGB(255, 255, 255), 1.5);
    painter.StrokeEllipse(43, 143, 214, 62, RGB(255, 255, 255), 1.5);
    // The winning post.
    painter.Line({236, 104}, {236, 116}, RGB(255, 255, 255), 2);
    painter.Line({236, 103}, {236, 106}, RGB(0xD0, 0x20, 0x20), 2);
}

// A horse seen from the side, galloping to the right, with the jockey's cap in the colour of
// its frame.
void PaintHorse(Painter& painter, Point at, COLORREF cap) {
    painter.Translate(at.x, at.y);
    const COLORREF coat = RGB(0x5A, 0x33, 0x1E);
    painter.Line({-4, 2}, {-8, 6}, coat, 1.2, true);  // hind legs
    painter.Line({-3, 2}, {-1, 6}, coat, 1.2, true);
    painter.Line({4, 2}, {8, 5}, coat, 1.2, true);  // forelegs
    painter.Line({3, 2}, {5, 6}, coat, 1.2, true);
    painter.FillEllipse(-6, -2.5, 12, 5.5, coat);
    painter.FillPolygon({{4, -1}, {8, -6}, {11, -5}, {7, 1}}, coat);
    painter.FillEllipse(-2, -6.5, 4, 4, RGB(0xF0, 0xF0, 0xF0));  // silks
    painter.FillEllipse(-1.5, -9, 3.5, 3, cap);
    painter.Translate(-at.x, -at.y);
}

void PaintField(Painter& painter) {
    // The eight frame colours of the Japanese race card.
    const std::array<COLORREF, 8> frames = {
        RGB(0xFF, 0xFF, 0xFF), RGB(0x20, 0x20, 0x20), RGB(0xE0, 0x20, 0x20), RGB(0x20, 0x50, 0xE0),
        RGB(0xF0, 0xE0, 0x20), RGB(0x20, 0xA0, 0x40), RGB(0xF0, 0x90, 0x20), RGB(0xF0, 0x90, 0xC0)};
    const std::array<Point, 6> places = {
        {{108, 115}, {122, 113}, {131, 117}, {146, 114}, {157, 116}, {176, 114}}};
    for (size_t i = 0; i < places.size(); ++i) {
        PaintHorse(painter, places[i], frames[(i * 3 + 2) % frames.size()]);
    }
}

void PaintCalendar(Painter& painter) {
    constexpr int kLeft = 222;
    constexpr int kTop = 10;
    constexpr int kWidth = 66;
    constexpr int kHeight = 62;
    painter.BlendRect(kLeft + 3, kTop + 3, kWidth, kHeight, RGB(0, 0, 0), 70);
    painter.FillRect(kLeft, kTop, kWidth, kHeight, RGB(255, 255, 255));
    painter.FillRect(kLeft, kTop, kWidth, 13, RGB(0xC8, 0x1E, 0x1E));
    // Rings of the wall calendar.
    painter.FillRect(kLeft + 14, kTop - 3, 3, 6, RGB(0x50, 0x50, 0x50));
    painter.FillRect(kLeft + kWidth - 1 - 16, kTop - 3, 3, 6, RGB(0x50, 0x50, 0x50));

    HFONT font = painter.Font(10, true);
    painter.CentredText(kLeft, kTop + 1, kWidth, 12, L"開催日", font, RGB(255, 255, 255));
    DeleteObject(font);

    // Seven days a row; Saturdays and Sundays are meeting days.
    constexpr int kCell = 9;
    constexpr int kDaysLeft = kLeft + 2;
    constexpr int kDaysTop = kTop + 16;
    for (int week = 0; week < 5; ++week) {
        for (int day = 0; day < 7; ++day) {
            const bool meeting = day >= 5;
            painter.FillRect(kDaysLeft + day * kCell, kDaysTop + week * kCell, kCell - 1, kCell - 1,
                             meeting ? RGB(0x3C, 0x9A, 0x3A) : RGB(0xE4, 0xE4, 0xE4));
        }
    }
    // One big day circled.
    painter.StrokeEllipse(kDaysLeft + 6 * kCell - 2.5, kDaysTop + 2 * kCell - 2.5, kCell + 4,
                          kCell + 4, RGB(0xD0, 0x10, 0x10), 1.6);
}

void PaintTitle(Painter& painter) {
    const std::wstring title = L"JRA 年間開催スケジュール";
    HFONT font = painter.Font(17, true);
    painter.BlendText(15, 66, title, font, RGB(0x10, 0x22, 0x50), 160);
    painter.Text(13, 64, title, font, RGB(255, 255, 255));
    DeleteObject(font);
}

// Each pixel of `small` the mean of its `factor` x `factor` block of `large`.
void Reduce(const std::uint32_t* large, std::uint32_t* small, int width, int height, int factor) {
    const int large_width = width * factor;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::array<unsigned, 3> sums{};
            for (int dy = 0; dy < factor; ++dy) {
                const std::uint32_t* row =
                    large + static_cast<size_t>(y * factor + dy) * large_width + x * factor;
                for (int dx = 0; dx < factor; ++dx) {
                    for (int channel = 0; channel < 3; ++channel) {
                        sums[channel] += (row[dx] >> (8 * channel)) & 0xFF;
                    }
                }
            }
            const unsigned count = static_cast<unsigned>(factor * factor);
            std::uint32_t pixel = 0;
            for (int channel = 0; channel < 3; ++channel) {
                pixel |= ((sums[channel] + count / 2) / count) << (8 * channel);
            }
            small[static_cast<size_t>(y) * width + x] = pixel;
        }
    }
}

}  // namespace

HBITMAP MakeAboutArtwork(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    HDC screen = GetDC(nullptr);
    const Canvas large = MakeCanvas(screen, width * kOversampling, height * kOversampling);
    const Canvas small = MakeCanvas(screen, width, height);
    ReleaseDC(nullptr, screen);
    if (large.bitmap == nullptr || small.bitmap == nullptr) {
        DeleteObject(large.bitmap);
        DeleteObject(small.bitmap);
        return nullptr;
    }

    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, large.bitmap);
    {
        Painter painter(dc, static_cast<double>(width * kOversampling) / kAboutArtworkWidth);
        painter.FillRect(0, 0, kAboutArtworkWidth, kAboutArtworkHeight, RGB(255, 255, 255));
        PaintSky(painter);
        PaintHillsAndStand(painter);
        PaintCourse(painter);
        PaintField(painter);
        PaintCalendar(painter);
        PaintTitle(painter);
    }
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);

    Reduce(large.pixels, small.pixels, width, height, kOversampling);
    DeleteObject(large.bitmap);
    return small.bitmap;
}

}  // namespace koyomi::win32
