#include "rules/GameState.h"

namespace zt {

std::string scoreLine(int human, int computer) {
    auto num = [](int n) { return (n < 0 ? std::string("-") : std::string(" ")) + std::to_string(n < 0 ? -n : n); };
    return "   You         Computer" + std::string(8, ' ') + num(human) + std::string(18, ' ') + num(computer);
}

} // namespace zt
