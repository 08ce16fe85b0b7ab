#include "core/ui/waiter_band.h"

namespace orvan {

namespace {

// The channel `shift` of `from` moved `step` twentieths of the way to `to`.
BandColor BlendChannel(BandColor from, BandColor to, int shift, int step) {
    const int a = int((from >> shift) & 0xFF);
    const int b = int((to >> shift) & 0xFF);
    return BandColor(a + (b - a) * step / WaiterBand::kStepsPerHalf) << shift;
}

BandColor Blend(BandColor from, BandColor to, int step) {
    return BlendChannel(from, to, 0, step) | BlendChannel(from, to, 8, step) |
           BlendChannel(from, to, 16, step);
}

} // namespace

void WaiterBand::Tick(int controlWidth) {
    if (movingRight_) {
        position_ += kStep;
        if (position_ > controlWidth)
            movingRight_ = false;
    } else {
        position_ -= kStep;
        if (position_ + kWidth <= 0)
            movingRight_ = true;
    }
}

std::array<WaiterBand::Stripe, 2 * WaiterBand::kStepsPerHalf>
WaiterBand::Stripes(BandColor face, BandColor middle) const {
    constexpr int kStripeWidth = kWidth / (2 * kStepsPerHalf);
    std::array<Stripe, 2 * kStepsPerHalf> stripes;
    for (int i = 0; i < kStepsPerHalf; ++i) {
        const BandColor color = Blend(face, middle, i + 1);
        stripes[std::size_t(i)] = {position_ + i * kStripeWidth, kStripeWidth, color};
        const int mirrored = 2 * kStepsPerHalf - 1 - i;
        stripes[std::size_t(mirrored)] = {position_ + mirrored * kStripeWidth, kStripeWidth, color};
    }
    return stripes;
}

} // namespace orvan
