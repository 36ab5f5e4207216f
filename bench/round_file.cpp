#include "bench/round_file.h"

#include <fstream>
#include <sstream>

namespace kestrin::bench {

namespace {

constexpr char kRoundMark[] = "round";

}  // namespace

bool AppendRounds(const std::string& path, const std::vector<RoundFigures>& rounds) {
    std::ofstream file(path, std::ios::app);
    // Enough digits for a value to read back as it was.
    file.precision(17);
    for (const RoundFigures& round : rounds) {
        file << kRoundMark << '\t' << round.helpers << '\t' << round.passProcesses << '\t' << round.onePassProcesses
             << '\n';
        for (const FigurePair& pair : round.pairs)
            file << pair.kestrin << '\t' << pair.peer << '\t' << pair.figure << '\n';
    }
    return static_cast<bool>(file.flush());
}

std::optional<std::vector<RoundFigures>> ReadRounds(const std::string& path) {
    std::vector<RoundFigures> rounds;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        if (line.starts_with(kRoundMark)) {
            RoundFigures& round = rounds.emplace_back();
            fields.ignore(sizeof kRoundMark - 1);
            if (!(fields >> round.helpers >> round.passProcesses >> round.onePassProcesses)) return std::nullopt;
            continue;
        }
        FigurePair pair;
        if (rounds.empty() || !(fields >> pair.kestrin >> pair.peer) || fields.get() != '\t' ||
            !std::getline(fields, pair.figure))
            return std::nullopt;
        rounds.back().pairs.push_back(std::move(pair));
    }
    return rounds;
}

}  // namespace kestrin::bench
