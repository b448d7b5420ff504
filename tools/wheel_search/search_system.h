#pragma once

// The search for one catalogue system, from greedy to the stretch rows.

#include "search_options.h"

namespace wheel_search {

struct Found {
    std::vector<Gaps> gaps;
    std::string method;
    double seconds = 0;
    std::string note;
};

Found search_system(const SystemInfo& info, const Options& opt, int index);

} // namespace wheel_search
