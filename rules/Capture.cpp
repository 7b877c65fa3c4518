#include "rules/Capture.h"

#include "media/Items.h"

#include <cmath>

namespace zt {

void listPick(GameState &s, int n, int code, const PictureItem *card) {
    s.pickCards[n] = static_cast<i16>(code);
    s.pickLeft[n] = static_cast<i16>(std::nearbyint(card->left()));
    s.pickTop[n] = static_cast<i16>(std::nearbyint(card->top()));
}

void CaptureRules::Trova_Combinazioni() {
    for (int i = 255; i >= 1; --i) {
        char cell[9];
        for (int k = 1; k <= 8; ++k) cell[k] = '0';
        int v = i, p = 8;
        do {
            if (v % 2 == 1) cell[p] = static_cast<char>('0' + (9 - p));
            v /= 2;
            --p;
        } while (v != 0);
        for (int k = 8; k >= 1; --k) s_.subsetPattern[i].push_back(cell[k]);
    }
}

void CaptureRules::combina() {
    const int r = valore_carta(static_cast<u8>(s_.playedCard));
    const bool human = s_.turnPlayer == kHuman;
    s_.canCapture = kFalse;
    s_.mustTakeEqual = kFalse;
    s_.emptySlots = 0;

    // A card of the same rank comes before any sum.
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col) {
            const int code = s_.tableCards[row][col];
            if (code == 0) {
                ++s_.emptySlots;
                continue;
            }
            if (!sameRank(code, s_.playedCard)) continue;
            if (human) {
                s_.mustTakeEqual = kTrue;
                s_.canCapture = kTrue;
                return;
            }
            carta_[code]->setBorder(1);
            listPick(s_, 1, code, carta_[code]);
            s_.pickN = 1;
            s_.canCapture = kTrue;
            return;
        }

    if (s_.emptySlots == 12) {
        if (!human) s_.playedCard = 0;
        return;
    }

    // Candidates: cards no higher than the played rank; a ten never sums.
    int n = 0;
    s_.pickSum = 0;
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col) {
            const int code = s_.tableCards[row][col];
            if (code == 0 || code % 10 == 0 || code % 10 > r) continue;
            listPick(s_, ++n, code, carta_[code]);
            s_.pickSum = static_cast<i16>(s_.pickSum + code % 10);
        }
    s_.pickN = static_cast<i16>(n);

    auto noCapture = [&] {
        if (!human) {
            s_.playedCard = 0;
            s_.pickN = 0;
        }
    };

    if (s_.pickN < 2 || s_.pickSum < r) return noCapture();

    if (s_.pickN == 2) {
        if (s_.pickSum != r) return noCapture();
        if (human) {
            s_.canCapture = kTrue;
        } else {
            carta_[s_.pickCards[1]]->setBorder(1);
            carta_[s_.pickCards[2]]->setBorder(1);
        }
        return;
    }

    // Past eight candidates no sum is searched: the card takes nothing.
    if (s_.pickN > 8) {
        s_.pickN = 0;
        return;
    }

    for (int i = 1; i <= (1 << s_.pickN) - 1; ++i) {
        const std::string &pattern = s_.subsetPattern[i];
        int sum = 0;
        for (int k = 1; k <= s_.pickN; ++k) {
            const int d = pattern[k - 1] - '0';
            if (d != 0) sum += s_.pickCards[d] % 10;
        }
        s_.pickSum = static_cast<i16>(sum);
        if (sum != r) continue;
        if (human) {
            s_.canCapture = kTrue;
            return;
        }
        for (int k = 1; k <= s_.pickN; ++k) {
            const int d = pattern[k - 1] - '0';
            if (d != 0) carta_[s_.pickCards[d]]->setBorder(1);
        }
        for (int k = 1; k <= s_.pickN; ++k)
            if (carta_[s_.pickCards[k]]->border() == 0) s_.pickCards[k] = 0;
        return;
    }
    noCapture();
}

} // namespace zt
