#pragma once
// Where cards stand on the 800 x 600 table; W and H are the card size.

namespace zt::places {

inline double slotLeft(double W, int column) { return (W + 6) * column + 210; }
inline double slotTop(double H, int row) { return (H + 6) * (row - 1) + 127; }
inline double playSpotLeft(double midX) { return midX + 178; }
inline double playSpotTop(double H) { return H + 133; }
inline double handLeft(int slot) { return (slot + 1) * 68 + 255; }
inline double humanHandTop(double H) { return 595 - H; }
constexpr double kComputerHandTop = 5;
constexpr double kPileLeft = 150;
constexpr double kStockLeft = 680;
constexpr double kParkedCardLeft = 900, kParkedCardTop = 780;
constexpr double kParkedBackLeft = 800, kParkedBackTop = 600;
constexpr double kClearedLeft = 1500, kClearedTop = 1500;

} // namespace zt::places
