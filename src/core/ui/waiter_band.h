#pragma once
// The progress animation of the settings dialog's status tab: a band 200 pixels wide that
// sweeps to the right across the control and back, grey in its middle and fading into the
// button face towards both ends. The model moves the band and plans its stripes; the
// control only fills rectangles.
#include <array>
#include <cstdint>

namespace orvan {

// An RGB value laid out as 0x00BBGGRR, as the window code hands colours over.
using BandColor = std::uint32_t;

class WaiterBand {
public:
    static constexpr int kWidth = 200;
    static constexpr int kStep = 10;
    static constexpr int kTickMilliseconds = 50;
    static constexpr int kStepsPerHalf = 20;

    // The band's left edge in control pixels; it starts just out of sight on the left.
    int Position() const { return position_; }

    // One tick of the running animation: 10 pixels to the right until the left edge has
    // passed the right edge of a control `controlWidth` wide, then 10 to the left until the
    // band is out of sight on the left again, and so on. A stopped animation is simply not
    // ticked, so the band stays where it is.
    void Tick(int controlWidth);

    struct Stripe {
        int left = 0; // in control pixels
        int width = 0;
        BandColor color = 0;
    };
    // The band as 2 x kStepsPerHalf stripes from left to right: the outermost nearly the
    // face colour, the two in the middle `middle`.
    std::array<Stripe, 2 * kStepsPerHalf> Stripes(BandColor face, BandColor middle) const;

private:
    int position_ = -kWidth;
    bool movingRight_ = true;
};

} // namespace orvan
