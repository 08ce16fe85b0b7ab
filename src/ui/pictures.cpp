#include "ui/pictures.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace orvan::ui {

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255); // pixels left in this colour are transparent

struct P {
    double x, y;
};

// A square canvas with a 16-unit coordinate system, whatever its pixel size.
class IconCanvas {
public:
    explicit IconCanvas(int size) : size_(size), scale_(size / 16.0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        color_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        dc_.Reset(::CreateCompatibleDC(nullptr));
        if (color_ && dc_) {
            old_ = ::SelectObject(dc_.Get(), color_.Get());
            RECT all{0, 0, size, size};
            UniqueBrush key(::CreateSolidBrush(kKey));
            ::FillRect(dc_.Get(), &all, key.Get());
            ::SetBkMode(dc_.Get(), TRANSPARENT);
        }
    }
    ~IconCanvas() {
        if (old_)
            ::SelectObject(dc_.Get(), old_);
    }
    IconCanvas(const IconCanvas&) = delete;
    IconCanvas& operator=(const IconCanvas&) = delete;

    bool Ready() const { return bits_ && dc_ && old_; }

    int X(double units) const { return int(std::lround(units * scale_)); }
    int Pen() const { return size_ >= 32 ? 2 : 1; }

    void Polygon(std::initializer_list<P> points, COLORREF fill, COLORREF outline) {
        std::vector<POINT> pts;
        for (const P& p : points)
            pts.push_back({X(p.x), X(p.y)});
        Shape shape(*this, fill, outline);
        ::Polygon(dc_.Get(), pts.data(), int(pts.size()));
    }
    void Rect(double l, double t, double r, double b, COLORREF fill, COLORREF outline) {
        Shape shape(*this, fill, outline);
        ::Rectangle(dc_.Get(), X(l), X(t), X(r), X(b));
    }
    void RoundRect(double l, double t, double r, double b, double radius, COLORREF fill,
                   COLORREF outline) {
        Shape shape(*this, fill, outline);
        ::RoundRect(dc_.Get(), X(l), X(t), X(r), X(b), X(radius), X(radius));
    }
    void Ellipse(double l, double t, double r, double b, COLORREF fill, COLORREF outline) {
        Shape shape(*this, fill, outline);
        ::Ellipse(dc_.Get(), X(l), X(t), X(r), X(b));
    }
    void Line(std::initializer_list<P> points, COLORREF color, int width = 0) {
        UniquePen pen(::CreatePen(PS_SOLID, width ? width : Pen(), color));
        SelectGuard guard(dc_.Get(), pen.Get());
        bool first = true;
        for (const P& p : points) {
            if (first)
                ::MoveToEx(dc_.Get(), X(p.x), X(p.y), nullptr);
            else
                ::LineTo(dc_.Get(), X(p.x), X(p.y));
            first = false;
        }
    }
    void Text(const wchar_t* text, double l, double t, double r, double b, COLORREF color) {
        LOGFONTW lf{};
        lf.lfHeight = -X(b - t);
        lf.lfWeight = FW_BOLD;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = NONANTIALIASED_QUALITY; // anti-aliasing would blend into the key colour
        lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
        UniqueFont font(::CreateFontIndirectW(&lf));
        SelectGuard guard(dc_.Get(), font.Get());
        ::SetTextColor(dc_.Get(), color);
        RECT box{X(l), X(t), X(r), X(b)};
        ::DrawTextW(dc_.Get(), text, -1, &box,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // Turns the key colour into transparency and makes the icon; `grey` turns the picture
    // into the pale grey of a disabled control.
    UniqueIcon Finish(bool grey = false) {
        if (!Ready())
            return {};
        ::GdiFlush();
        const std::uint32_t key = 0x00FF00FF; // BGRA of magenta
        for (int i = 0; i < size_ * size_; ++i) {
            std::uint32_t pixel = bits_[i] & 0x00FFFFFF;
            if (pixel != key && grey) {
                const std::uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF,
                                    b = pixel & 0xFF;
                const std::uint32_t light = 128 + (r * 30 + g * 59 + b * 11) / 200;
                pixel = light << 16 | light << 8 | light;
            }
            bits_[i] = pixel == key ? 0 : (pixel | 0xFF000000u);
        }
        ::SelectObject(dc_.Get(), old_);
        old_ = nullptr;
        UniqueBitmap mask(::CreateBitmap(size_, size_, 1, 1, nullptr));
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmColor = color_.Get();
        info.hbmMask = mask.Get();
        return UniqueIcon(::CreateIconIndirect(&info));
    }

private:
    class Shape {
    public:
        Shape(IconCanvas& canvas, COLORREF fill, COLORREF outline)
            : brush_(::CreateSolidBrush(fill)), pen_(::CreatePen(PS_SOLID, canvas.Pen(), outline)),
              brushGuard_(canvas.dc_.Get(), brush_.Get()), penGuard_(canvas.dc_.Get(), pen_.Get()) {
        }

    private:
        UniqueBrush brush_;
        UniquePen pen_;
        SelectGuard brushGuard_;
        SelectGuard penGuard_;
    };

    int size_;
    double scale_;
    UniqueBitmap color_;
    UniqueMemoryDc dc_;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

const COLORREF kOutline = RGB(64, 64, 64);

UniqueIcon DrawMainImage(int index, int size) {
    IconCanvas c(size);
    if (!c.Ready())
        return {};
    switch (index) {
    case 0: // the prompt: a question in a blue circle
        c.Ellipse(1, 1, 15, 15, RGB(40, 110, 200), RGB(20, 60, 130));
        c.Text(L"?", 2, 2, 14, 14, RGB(255, 255, 255));
        break;
    case 1: // folder
        c.Polygon({{1, 3}, {6, 3}, {7.5, 4.5}, {15, 4.5}, {15, 14}, {1, 14}}, RGB(240, 196, 64),
                  RGB(150, 110, 20));
        c.Rect(1, 6, 15, 14, RGB(252, 220, 110), RGB(150, 110, 20));
        break;
    case 2: // a file without an icon of its own: a page with a folded corner
        c.Polygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, RGB(255, 255, 255), kOutline);
        c.Polygon({{10, 1}, {10, 4}, {13, 4}}, RGB(210, 210, 210), kOutline);
        c.Line({{5, 7}, {11, 7}}, RGB(150, 150, 150), 1);
        c.Line({{5, 9.5}, {11, 9.5}}, RGB(150, 150, 150), 1);
        c.Line({{5, 12}, {9, 12}}, RGB(150, 150, 150), 1);
        break;
    case 3: // calculator
        c.RoundRect(2.5, 1, 13.5, 15, 2, RGB(90, 100, 115), RGB(40, 45, 55));
        c.Rect(4, 2.5, 12, 6, RGB(190, 230, 190), RGB(40, 45, 55));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                c.Rect(4 + col * 2.8, 7.5 + row * 2.4, 5.8 + col * 2.8, 9 + row * 2.4,
                       RGB(235, 235, 235), RGB(235, 235, 235));
        break;
    case 4: // not used by the search window: a green tick
        c.Line({{3, 8}, {6.5, 12}, {13, 4}}, RGB(30, 150, 60), c.Pen() + 1);
        break;
    case 5: // error: nothing to start
        c.Ellipse(1, 1, 15, 15, RGB(210, 40, 40), RGB(130, 20, 20));
        c.Line({{5, 5}, {11, 11}}, RGB(255, 255, 255), c.Pen() + 1);
        c.Line({{11, 5}, {5, 11}}, RGB(255, 255, 255), c.Pen() + 1);
        break;
    case 6: // date and time: a clock
        c.Ellipse(1, 1, 15, 15, RGB(255, 255, 255), RGB(40, 80, 150));
        c.Line({{8, 3.5}, {8, 8}, {11.5, 10}}, RGB(20, 20, 20));
        break;
    default:
        return {};
    }
    return c.Finish();
}

void Star(IconCanvas& c, double cx, double cy, double r) {
    const double k = 0.4;
    P p[10];
    for (int i = 0; i < 10; ++i) {
        const double angle = -3.14159265358979 / 2 + i * 3.14159265358979 / 5;
        const double radius = i % 2 ? r * k : r;
        p[i] = {cx + radius * std::cos(angle), cy + radius * std::sin(angle)};
    }
    c.Polygon({p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], p[9]}, RGB(250, 200, 40),
              RGB(170, 120, 10));
}

UniqueIcon DrawMessageIcon(int size) {
    IconCanvas c(size);
    if (!c.Ready())
        return {};
    Star(c, 8, 5, 4.5);
    Star(c, 4, 11.5, 3.6);
    Star(c, 12, 11.5, 3.6);
    return c.Finish();
}

UniqueIcon DrawQuestionIcon(int size) {
    IconCanvas c(size);
    if (!c.Ready())
        return {};
    c.Polygon({{4, 11}, {3, 15}, {8, 11.5}}, RGB(150, 205, 245), RGB(60, 130, 190));
    c.RoundRect(1, 1.5, 15, 12, 5, RGB(150, 205, 245), RGB(60, 130, 190));
    c.Text(L"?", 4, 2, 12, 11, RGB(30, 90, 150));
    return c.Finish();
}

UniqueIcon DrawGlyph(Glyph glyph, int size, bool grey) {
    IconCanvas c(size);
    if (!c.Ready())
        return {};
    switch (glyph) {
    case Glyph::Execute: // a green arrow
        c.Polygon({{2, 6}, {8, 6}, {8, 2.5}, {14, 8}, {8, 13.5}, {8, 10}, {2, 10}},
                  RGB(60, 170, 70), RGB(30, 110, 40));
        break;
    case Glyph::Details: // a magnifier
        c.Ellipse(1.5, 1.5, 10.5, 10.5, RGB(220, 235, 250), RGB(40, 80, 150));
        c.Line({{9.5, 9.5}, {14, 14}}, RGB(90, 60, 30), c.Pen() + 1);
        break;
    case Glyph::Copy: // two pages
        c.Rect(1.5, 1.5, 9.5, 11.5, RGB(255, 255, 255), kOutline);
        c.Rect(6.5, 4.5, 14.5, 14.5, RGB(255, 255, 255), kOutline);
        break;
    case Glyph::Settings: // a gear-like wheel
        c.Ellipse(2, 2, 14, 14, RGB(150, 150, 160), RGB(70, 70, 80));
        c.Ellipse(5.5, 5.5, 10.5, 10.5, RGB(255, 255, 255), RGB(70, 70, 80));
        break;
    case Glyph::Hide: // a minimise bar
        c.Rect(3, 10, 13, 13, RGB(40, 80, 150), RGB(40, 80, 150));
        break;
    case Glyph::Exit: // a red cross
        c.Line({{3.5, 3.5}, {12.5, 12.5}}, RGB(200, 40, 40), c.Pen() + 1);
        c.Line({{12.5, 3.5}, {3.5, 12.5}}, RGB(200, 40, 40), c.Pen() + 1);
        break;
    case Glyph::DropDown: // a small arrow pointing down, for buttons that open a menu
        c.Polygon({{2, 5}, {14, 5}, {8, 12}}, RGB(0, 0, 0), RGB(0, 0, 0));
        break;
    case Glyph::Count:
        return {};
    }
    return c.Finish(grey);
}

UniqueIcon DrawProgramIcon(int size) {
    IconCanvas c(size);
    if (!c.Ready())
        return {};
    c.RoundRect(0.5, 0.5, 15.5, 15.5, 5, RGB(30, 90, 170), RGB(20, 50, 110));
    c.Text(L"O!", 1, 2, 15, 14, RGB(255, 255, 255));
    return c.Finish();
}

} // namespace

Pictures::Set& Pictures::ForSize(int size) {
    return sets_[size];
}

HICON Pictures::MainImage(int index, int size) {
    if (index < 0 || index >= 7)
        return nullptr;
    UniqueIcon& icon = ForSize(size).main[std::size_t(index)];
    if (!icon)
        icon = DrawMainImage(index, size);
    return icon.Get();
}

HICON Pictures::MessageIcon(int size) {
    UniqueIcon& icon = ForSize(size).message;
    if (!icon)
        icon = DrawMessageIcon(size);
    return icon.Get();
}

HICON Pictures::QuestionIcon(int size) {
    UniqueIcon& icon = ForSize(size).question;
    if (!icon)
        icon = DrawQuestionIcon(size);
    return icon.Get();
}

HICON Pictures::ButtonGlyph(Glyph glyph, int size, bool disabled) {
    if (glyph == Glyph::Count)
        return nullptr;
    Set& set = ForSize(size);
    UniqueIcon& icon = (disabled ? set.greyGlyphs : set.glyphs)[std::size_t(glyph)];
    if (!icon)
        icon = DrawGlyph(glyph, size, disabled);
    return icon.Get();
}

HICON Pictures::ProgramIcon(int size) {
    Set& set = ForSize(size);
    if (!set.programLoaded) {
        set.programLoaded = true;
        set.program.Reset(
            static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                            IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        if (!set.program)
            set.program = DrawProgramIcon(size);
    }
    return set.program.Get();
}

Pictures& ProgramPictures() {
    static Pictures pictures;
    return pictures;
}

void DrawIconAt(HDC dc, HICON icon, int x, int y, int size) {
    if (icon)
        ::DrawIconEx(dc, x, y, icon, size, size, 0, nullptr, DI_NORMAL);
}

} // namespace orvan::ui
