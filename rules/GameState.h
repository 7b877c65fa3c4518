#pragma once
// The one record of a game in progress. Widths follow the game's own
// bookkeeping: Booleans are 16-bit, 0 = False and -1 = True.
#include <array>
#include <cstdint>
#include <string>

namespace zt {

using i16 = std::int16_t;
using u8 = std::uint8_t;
using i32 = std::int32_t;

constexpr i16 kTrue = -1;
constexpr i16 kFalse = 0;

constexpr int kHuman = 1;
constexpr int kComputer = 2;

struct GameState {
    std::array<std::string, 256> subsetPattern{}; // 1..255, eight characters each
    i16 tableCards[4][5]{};                       // rows 1..3, columns 1..4
    // Entries 1..pickN; room beyond 12 for the cards an overfull table holds.
    std::array<i16, 41> pickCards{};
    std::array<i16, 41> pickLeft{};
    std::array<i16, 41> pickTop{};
    i16 dealPos = 0;
    i16 cpuSlot = 0;
    i16 clickLock = 0;
    i16 playedCard = 0;
    float midX = 0, midY = 0;
    u8 lastTaker = 0;
    i16 finalSweep = kFalse;
    i16 playsThisDeal = 0;
    i16 pickSum = 0;
    i16 canCapture = kFalse;
    i16 mustTakeEqual = kFalse;
    u8 playRate = 0;
    float cardWidth = 0, cardHeight = 0;
    u8 emptySlots = 0;
    u8 cardSpeed = 0;
    std::array<i16, 3> pileTop{};
    u8 otherPlayer = 0;
    i16 stealFlag = kFalse;
    i16 newGameRequested = 0;
    i16 pickN = 0;
    std::array<i16, 3> pileCount{};
    u8 starter = 0;
    i16 turnPlayer = 0;
    std::array<i16, 41> deck{};
    u8 gameNo = 0;
    i16 continueRequested = 0;
    u8 matchTally = 0;

    // Cards played when all 12 slots were taken and nothing was captured:
    // they lie beside the grid, are never captured by a play, and go to the
    // last taker with the leftovers, so no card is lost.
    std::array<i16, 41> extraCards{};
    i16 extraN = 0;

    // Shuffling and movement keep these beside the shared fields.
    std::array<i16, 41> drawPool{};
    std::array<i32, 3> sideTop{};
    float moveStartX = 0;
    i32 moveStartY = 0;

    void eraseTable() {
        for (auto &row : tableCards)
            for (auto &slot : row) slot = 0;
    }
};

// Rank 1..10 of a card code; a ten (code mod 10 = 0) counts 10.
constexpr std::uint8_t valore_carta(std::uint8_t code) {
    std::uint8_t r = code % 10;
    return r == 0 ? 10 : r;
}

constexpr bool sameRank(int a, int b) { return a % 10 == b % 10; }

// "   You         Computer" with both pile counts, each printed with its sign blank.
std::string scoreLine(int human, int computer);

} // namespace zt
