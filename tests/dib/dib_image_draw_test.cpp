// Pictures drawn by the real platform into a 24-bit memory bitmap, compared
// pixel by pixel with what the file says. Windows (and Wine) only.
#include "dib_testing.h"

#include <cstdlib>
#include <cstring>

namespace {

// A memory device context with a top-down 24-bit DIB section selected, so
// that every pixel drawn can be read back exactly.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<BYTE*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        if (bitmap_ && dc_) {
            old_ = SelectObject(dc_, bitmap_);
            std::memset(bits_, kBackground, Stride() * height);
        }
    }
    ~Canvas() {
        if (dc_) {
            if (old_) {
                SelectObject(dc_, old_);
            }
            DeleteDC(dc_);
        }
        if (bitmap_) {
            DeleteObject(bitmap_);
        }
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool Ready() const { return bits_ && dc_ && old_; }
    HDC Dc() const { return dc_; }
    bmp::Rgb At(int x, int y) const {
        GdiFlush();
        const BYTE* p = bits_ + y * Stride() + 3 * x;
        return {p[2], p[1], p[0]};
    }

    static const BYTE kBackground = 0x5A;

  private:
    std::size_t Stride() const { return (static_cast<std::size_t>(width_) * 3 + 3) / 4 * 4; }

    int width_, height_;
    HBITMAP bitmap_ = nullptr;
    BYTE* bits_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

bool Near(bmp::Rgb a, bmp::Rgb b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

class DibDrawTest : public DibTest {};

TEST_F(DibDrawTest, EveryPixelLandsUprightAtItsPlace) {
    struct Case {
        const char* name;
        bmp::Options options;
    };
    std::vector<Case> cases = {
        {"1 bit", Opt(1, 13, 5)},
        {"4 bits", Opt(4, 7, 5)},
        {"4 bits, 5 colours", Opt(4, 7, 5)},
        {"8 bits", Opt(8, 7, 5)},
        {"24 bits", Opt(24, 7, 5)},
        {"core header, 8 bits", Opt(8, 7, 5)},
        {"core header, 24 bits", Opt(24, 7, 5)},
        {"gap before bfOffBits", Opt(8, 7, 5)},
        {"no file header", Opt(24, 7, 5)},
        {"top-down, size stated", Opt(24, 7, 5)},
        {"top-down, size 0", Opt(8, 7, 5)},
        {"16 bits, 5-5-5", Opt(16, 7, 5)},
        {"16-bit bitfields, 5-6-5", Opt(16, 7, 5)},
        {"32 bits", Opt(32, 7, 5)},
        {"32-bit bitfields", Opt(32, 7, 5)},
    };
    cases[2].options.colours = 5;
    cases[5].options.coreHeader = true;
    cases[6].options.coreHeader = true;
    cases[7].options.gap = 37;
    cases[8].options.fileHeader = false;
    cases[9].options.topDown = true;
    cases[10].options.topDown = true;
    cases[10].options.statedSizeImage = false;
    cases[12].options.bitfields = true;
    cases[14].options.bitfields = true;

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bmp::Options& o = c.options;
        TempPicture picture;
        ASSERT_TRUE(picture.Write(bmp::Build(o)));
        DibImageProbe image(picture.Name());
        int width = 0, height = 0;
        ASSERT_EQ(1, image.GetSize(&width, &height));
        ASSERT_EQ(o.width, width);
        ASSERT_EQ(o.height, height);

        // One spare column and row show anything drawn past the picture.
        Canvas canvas(width + 1, height + 1);
        ASSERT_TRUE(canvas.Ready());
        EXPECT_EQ(1, image.Draw(canvas.Dc(), 0, 0, width, height, 0, 0));
        EXPECT_TRUE(image.Unlocked());

        // The platform may fill the low bits of 5- and 6-bit components its own way.
        int tolerance = o.bitCount == 16 ? 8 : 0;
        int wrong = 0;
        for (int y = 0; y <= height; ++y) {
            for (int x = 0; x <= width; ++x) {
                bmp::Rgb want =
                    x < width && y < height
                        ? bmp::Expected(o, x, y)
                        : bmp::Rgb{Canvas::kBackground, Canvas::kBackground, Canvas::kBackground};
                bmp::Rgb got = canvas.At(x, y);
                if (!Near(want, got, tolerance) && ++wrong <= 3) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << "): want " << int(want.red)
                                  << "," << int(want.green) << "," << int(want.blue) << " got "
                                  << int(got.red) << "," << int(got.green) << "," << int(got.blue);
                }
            }
        }
        EXPECT_EQ(0, wrong);
    }
}

} // namespace
