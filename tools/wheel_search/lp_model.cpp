#include "lp_model.h"

namespace wheel_search {

std::vector<int> read_lp_solution(const std::string& path, size_t n_cands) {
    std::vector<int> chosen;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return chosen;
    static char line[1 << 16];
    while (std::fgets(line, sizeof line, f)) {
        char name[128];
        double value = 0;
        int idx = 0;
        // A SAT-based solver's model: "v x1 -x2 ...", ticket class c being x<c + 1>.
        if (line[0] == 'v' && line[1] == ' ') {
            for (char* tok = std::strtok(line + 2, " \r\n"); tok; tok = std::strtok(nullptr, " \r\n"))
                if (tok[0] == 'x') {
                    const long c = std::strtol(tok + 1, nullptr, 10) - 1;
                    if (c >= 0 && static_cast<size_t>(c) < n_cands)
                        chosen.push_back(static_cast<int>(c));
                }
            continue;
        }
        if (std::sscanf(line, "%d %127s %lf", &idx, name, &value) == 3 && name[0] == 'x' && value > 0.5) {
            const long c = std::strtol(name + 1, nullptr, 10);
            if (c >= 0 && static_cast<size_t>(c) < n_cands)
                chosen.push_back(static_cast<int>(c));
        }
    }
    std::fclose(f);
    return chosen;
}

} // namespace wheel_search
