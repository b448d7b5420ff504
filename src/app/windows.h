#pragma once

struct AppContext;

// Tells the registry how to make each window of the program.
void register_windows(AppContext& ctx);
