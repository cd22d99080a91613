// The About box's logo animation, without windows: three sweeps, each
// recolouring the logo row by row from the bottom row up (pure blue becomes
// red, then red becomes green, then green becomes blue), every sweep spread
// over half a second of 100 ms timer ticks. A tick does only its share of
// rows and returns, so the box stays responsive while it animates.
#pragma once

#include <cstdint>

// Colours as 0x00RRGGBB (the order of 32-bit DIB pixels).
enum : uint32_t { kLogoRed = 0xFF0000, kLogoGreen = 0x00FF00, kLogoBlue = 0x0000FF };

// The colour a pixel takes in sweep 0, 1 or 2.
uint32_t LogoSweepColor(int sweep, uint32_t pixel);

// What one tick does: when restart is set, the logo is reloaded first (a
// cycle of three sweeps begins); then rows firstRow down to lastRow (top-down
// row numbers, firstRow >= lastRow, none when rowCount is 0) are recoloured
// by sweep and copied to the screen.
struct LogoSweepStep {
    bool restart;
    int sweep;
    int firstRow;
    int lastRow;
    int rowCount;
};

class AboutLogoAnimation {
public:
    enum { kSweeps = 3, kTicksPerSweep = 5 };
    explicit AboutLogoAnimation(int rows) : rows_(rows > 0 ? rows : 0) {}
    LogoSweepStep Next();
    int rows() const { return rows_; }

private:
    int rows_;
    int tick_ = 0;   // 0 .. kSweeps * kTicksPerSweep - 1
};
